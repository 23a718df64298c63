// Every text the file commands show, in Windows-1252 as the window takes
// them. Some are the program's own spelling and stay exactly as written
// (marked); the user's tests and guides quote them.
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::files_text {

// Dialog titles. "Vokabeldateiatei" is the program's own word: kept as written.
inline const std::string OpenTitle = "Vokabeldateiatei zum Laden auswählen"_w;
inline const std::string SaveTitle = "Vokabeldateiatei zum Speichern auswählen"_w;
// Kept as written ("Vokabeldateiatei", "wiederherstellen" in lower case).
inline const std::string RestoreTitle = "Vokabeldateiatei Backup zum wiederherstellen auswählen"_w;
inline const std::string SaveAsTitle = "Datei Speichern unter...";
// Kept as written ("auteilen").
inline const std::string SplitTitle = "Vokabeldatei auteilen";

// File dialog filters.
inline const std::string VocabularyFilterName = "Vokabeldatei (*.LTK)";
inline const std::string BackupFilterName = "Vokabeldatei Backup (*.LTS)";
inline const std::string AllFilesFilterName = "Alle Dateien (*.*)";

// The unsaved-data question.
inline const std::string UnsavedTitle = "Ungesicherte Daten";
inline const std::string UnsavedQuestion = "Es gibt noch ungesicherte Daten,\nsollen diese jetzt gespeichert werden?";

// Errors of reading and writing files. A file problem reads
// FileProblemStart, the path, then one of the endings.
inline const std::string AccessErrorTitle = "Datei Zugriffsfehler";
inline const std::string FileProblemStart = "Die Datei\n";
inline const std::string TooLarge = "\nist zu groß!"_w;
inline const std::string Unreadable = "\nkonnte nicht gelesen werden!";
inline const std::string NotSaved = "Datei konnte nicht gespeichert werden!";
// A save cut off (the program killed, the system down) while the file was
// rewritten in place: put right when the file is opened next.
inline const std::string RecoveredTitle = "Datei wiederhergestellt";
inline const std::string Recovered =
    "\nwurde beim letzten Speichern unterbrochen.\nSie hat wieder den Inhalt von vor diesem Speichern.";
inline const std::string NotRecovered =
    "\nwurde beim letzten Speichern unterbrochen und konnte nicht wiederhergestellt werden!";
// A part of a split: PartNotSavedStart, its name, PartNotSavedEnd.
inline const std::string PartNotSavedStart = "Datei ";
inline const std::string PartNotSavedEnd = " konnte nicht gespeichert werden!";
// Save as onto an existing file: the path, then ReplaceQuestion.
inline const std::string ReplaceQuestion = " besteht bereits.\r\nMöchten Sie sie ersetzen?"_w;

// Splitting.
inline const std::string PartSizePrompt = "Anzahl der Vokabeln pro Teilstück:"_w;
inline const std::string PartSizeInvalid =
    "Bitte geben Sie als Anzahl der Vokabeln pro Teilstück eine ganze Zahl ab 1 ein!"_w;
// The confirmation: SplitFrom, the file name, SplitInto, the number of
// parts, SplitParts, the parts' base name with an X per digit, SplitEnd.
inline const std::string SplitFrom = "Aufteilen von:\t";
inline const std::string SplitInto = "\t\r\n\r\nin ";
inline const std::string SplitParts = " nummerierte Teilstücke.\r\n\r\nTeilstücknamen:\t"_w;
// Kept as written (a blank after the point).
inline const std::string SplitEnd = ". ltk\t";

// Status messages of the long file actions.
inline const std::string Loading = "Laden...";
inline const std::string Saving = "Speichern...";
inline const std::string Merging = "Verbinden...";
inline const std::string Splitting = "Aufteilen...";

}  // namespace zl::files_text
