// The texts of the desktop integration, in Windows-1252 as the window takes
// them, and the UTF-8 texts it writes into the desktop's own files. The
// title "Fehler" is shared with start-up (state/texts.h).
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::desktop_text {

inline const std::string SetupTitle = "Setup";
inline const std::string RegisterQuestion = "Möchten Sie die Dateiendung .LTK mit dem Zelvo Lingotak verknüpfen?"_w;
inline const std::string UnregisterQuestion =
    "Möchten Sie die Verknüpfung der Dateiendung .LTK mit dem Zelvo Lingotak wieder entfernen?"_w;
// Kept as written ("Auf" in capitals, "ein Verknüpfung").
inline const std::string ShortcutQuestion =
    "Möchten Sie Auf dem Desktop ein Verknüpfung für den Zelvo Lingotak erstellen?"_w;
inline const std::string ShortcutCreated = "Die Verknüpfung wurde erfolgreich erstellt!"_w;
// A write of the file-type association that failed, under ErrorTitle.
inline const std::string ErrorOccurred = "Ein Fehler ist aufgetreten";

// In the desktop's files (UTF-8): the file type's description, and the
// kind of program the desktop's menus show beside its name.
inline const std::string VocabularyFileDescription = "Zelvo Vokabeldatei";
inline const std::string GenericNameEnglish = "Vocabulary Trainer";
inline const std::string GenericNameGerman = "Vokabeltrainer";
// The words a desktop's search finds the program by.
inline const std::string KeywordsEnglish = "vocabulary;language;learning;test;";
inline const std::string KeywordsGerman = "Vokabeln;Sprache;Lernen;Abfrage;";

}  // namespace zl::desktop_text
