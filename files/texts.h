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
// A save in place whose rescue copy could not be made: NotSaved,
// RescueCopyStart, the rescue folder, RescueCopyEnd, the cause (below).
inline const std::string RescueCopyStart =
    "\n\nDiese Datei kann nur an ihrem Platz überschrieben werden. Dafür wird zuerst eine Sicherheitskopie "
    "ihres Inhalts angelegt, im Ordner\n"_w;
inline const std::string RescueCopyEnd = "\nDas war nicht möglich: "_w;
inline const std::string SaveElsewhere =
    "\n\nSpeichern Sie die Liste mit \"Speichern unter...\" in einem eigenen Ordner.";
// A save that kept no backup, told once a run for each file:
// FileProblemStart, the path, NoBackupSaved, the backup's path,
// NoBackupMade, the cause and what to do (below), NoBackupOnce.
inline const std::string NoBackupTitle = "Kein Backup";
inline const std::string NoBackupSaved = "\nwurde gespeichert, aber ihr Backup\n";
inline const std::string NoBackupMade = "\nkonnte nicht angelegt werden.\n";
inline const std::string NoBackupOnce =
    "\n\nBis zum nächsten Start des Programms erscheint diese Meldung für diese Datei nicht mehr."_w;
// A save cut off in place whose file was changed afterwards:
// FileProblemStart, the path, CutOffAt, the date of the save, ChangedAt,
// the date of the change, CutOffQuestion. The answer "Nein" is the default.
inline const std::string CutOffTitle = "Unterbrochenes Speichern";
inline const std::string CutOffAt = "\nwurde am ";
inline const std::string ChangedAt = " beim Speichern unterbrochen\nund danach am ";
inline const std::string CutOffQuestion =
    " noch einmal geändert.\n\nSoll sie wieder den Inhalt von vor dem unterbrochenen Speichern bekommen?\n"
    "Die spätere Änderung geht dabei verloren.\n\n\"Nein\" behält die Datei, wie sie ist."_w;
// A date as it is shown: day, month, year, then the time.
inline const char* const DateFormat = "%d.%m.%Y um %H:%M Uhr";

// Why something could not be done with a file or folder: one sentence.
inline const std::string CauseDiskFull = "Der Datenträger ist voll."_w;
inline const std::string CauseNoPermission = "Sie haben dort keine Schreibrechte.";
inline const std::string CauseReadOnlyDisk = "Der Datenträger ist schreibgeschützt."_w;
inline const std::string CauseMissing = "Der Ordner fehlt.";
inline const std::string CauseNotAFolder = "Ein Teil des Pfades ist kein Ordner.";
inline const std::string CauseDiskError = "Der Datenträger meldet einen Lese- oder Schreibfehler."_w;
inline const std::string CauseSystemStart = "Das System meldet den Fehler ";
inline const std::string CauseOtherUsersFile =
    "An dieser Stelle liegt eine Datei eines anderen Benutzers, in die nicht geschrieben wird.";
inline const std::string CauseOtherUsersLink =
    "An dieser Stelle liegt eine Verknüpfung eines anderen Benutzers, der nicht gefolgt wird.";
inline const std::string CauseNotAFile = "An dieser Stelle liegt ein Ordner.";
inline const std::string CauseNotPrivate =
    "Der Ordner gehört nicht Ihnen allein: ein anderer Benutzer besitzt ihn oder darf ihn öffnen."_w;
inline const std::string CauseNoFolder = "Es ist kein persönlicher Ordner bekannt (HOME ist nicht gesetzt).";
// What to do about a missing backup, by its cause.
inline const std::string FixOthersFile =
    "\nEntfernen Sie die fremde Datei, oder speichern Sie die Liste in einem eigenen Ordner.";
inline const std::string FixNotAFile = "\nBenennen Sie den Ordner um.";
inline const std::string FixFolder = "\nSpeichern Sie die Liste in einem Ordner, in dem Sie Dateien anlegen dürfen."_w;
inline const std::string FixDiskFull = "\nSchaffen Sie freien Speicherplatz."_w;

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
