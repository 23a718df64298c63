// Every text the entry page's editing, search, sort and statistics show,
// in Windows-1252 as the window takes them.
#pragma once

#include <string>

#include "platform/ui.h"
#include "state/window_rules.h"
#include "store/cp1252.h"

namespace zl::edit_text {

inline const std::string BothWordsNeeded = "Bitte immer beide Wörter eingeben!"_w;

// "Bearbeiten" on a pair with a text longer than a field holds.
inline const std::string TooLongTitle = "Vokabel zu lang";
inline const std::string TooLongToEdit =
    "Diese Vokabel ist zu lang zum Bearbeiten:\nEin Eingabefeld fasst höchstens "_w + std::to_string(MaxFieldText) +
    " Zeichen.\nDie Vokabel bleibt unverändert."_w;

inline const std::string DeleteTitle = "Löschen bestätigen"_w;
// Kept as written ("Rückgängig" with a capital R).
inline const std::string DeleteQuestion =
    "Wollen Sie diesen Datensatz wirklich löschen?\nDiese Aktion kann nicht Rückgängig gemacht werden!"_w;

inline const std::string SearchFailedTitle = "Suche erfolglos";
inline const std::string SearchFailed = "Der gesuchte Begriff\nwurde nicht gefunden!";

inline const std::string SortTitle = "Vokabeln Sortieren";
inline const std::string SortQuestion = "Möchten Sie die Vokabeln in alphabetischer Reihenfolge sortieren?"_w;
inline const std::string ShuffleTitle = "Vokabeln Mischen";
inline const std::string ShuffleQuestion = "Möchten Sie die Vokabeln mischen?"_w;
inline const std::string Shuffling = "Mischen...";

// The statistics box: each label, then its value.
inline const std::string StatisticsTitle = "Statistik der Vokabel";
inline const std::string StatisticsVocabulary = "Vokabel: \t\t";
inline const std::string StatisticsTranslation = "\nÜbersetzung: \t"_w;
inline const std::string StatisticsRight = "\n\nAnzahl Richtig: \t";
inline const std::string StatisticsWrong = "\nAnzahl Falsch: \t";

}  // namespace zl::edit_text
