// The texts of the internet update, in Windows-1252 as the window takes
// them. "\r\n" breaks a line, "\t" is a tab.
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::update_text {

inline const std::string UpdateErrorTitle = "Update Fehler";
inline const std::string UpdateInformationTitle = "Update Information";

inline const std::string NetworkError = "Fehler in Netzwerkverbindung!";
inline const std::string StartUpdateQuestion = "Möchten Sie den Update Prozess starten?"_w;
inline const std::string UpdateBusy = "Update...";
inline const std::string NoUpdateServer = "Keine Verbindung zum Update Server!";

// Why a download failed, each followed by what the user can do.
inline const std::string TryAgainLater = "\r\n\r\nBitte versuchen Sie es später noch einmal."_w;
inline const std::string ServerRefused = "Der Update Server hat die Update Datei nicht geliefert!"_w + TryAgainLater;
inline const std::string ConnectionCut =
    "Die Verbindung zum Update Server wurde unterbrochen:\r\ndie Update Datei ist nicht vollständig angekommen!"_w +
    TryAgainLater;
// A download without length that ended in a pause and fails its signature:
// more likely cut short than forged.
inline const std::string PausedTooLong =
    "Der Update Server hat beim Senden eine zu lange Pause gemacht:\r\n"
    "die Update Datei ist nicht vollständig angekommen!"_w +
    TryAgainLater;
inline const std::string ServerTooSlow = "Der Update Server antwortet zu langsam!" + TryAgainLater;
inline const std::string UpdateTooLarge = "Die Update Datei ist zu groß!"_w + TryAgainLater;
inline const std::string CannotWrite =
    "Die Update Datei kann im Ordner des Programms\r\nnicht gespeichert werden!\r\n\r\n"
    "Bitte laden Sie die neue Version von der Home Page."_w;
inline const std::string DiskFull =
    "Der Datenträger des Programms ist voll:\r\ndie Update Datei hat keinen Platz!\r\n\r\n"
    "Bitte schaffen Sie freien Speicherplatz\r\nund versuchen Sie es noch einmal."_w;
// A build that carries no key to check updates with.
inline const std::string NoUpdateKey =
    "Diese Programmversion enthält keinen Update Schlüssel:\r\nUpdates können nicht geprüft werden.\r\n\r\n"
    "Bitte laden Sie neue Versionen von der Home Page."_w;
// The program's file was replaced on disk while the program ran (by the
// package manager, say): the update would read the new file as its own.
inline const std::string ProgramReplaced =
    "Die Programmdatei wurde ersetzt, während das Programm lief\r\n(zum Beispiel von der Paketverwaltung).\r\n\r\n"
    "Bitte beenden Sie das Programm und starten Sie es neu."_w;
inline const std::string AlreadyNewest = "Sie haben bereits die aktuellste Version!";

// The installation question: LocalVersion, the running program's version,
// UpdateVersion, the update file's, InstallQuestion.
inline const std::string LocalVersion = "Lokale Dateiversion:\t";
inline const std::string UpdateVersion = "\t\r\nUpdate Dateiversion:\t";
inline const std::string InstallQuestion = "\r\n\r\nMöchten Sie das Update installieren?"_w;

inline const std::string UpdateInstalled =
    "Das Update wurde erfolgreich installiert.\r\nDas Programm wird nun neu gestartet!";
// The new program is in place but could not be started.
inline const std::string StartItAgain =
    "Das Update wurde erfolgreich installiert.\r\nBitte starten Sie das Programm neu!";
inline const std::string UpdateFailed = "Es ist ein Fehler während\r\ndes Update Prozesses aufgetreten!"_w;

// Refusals of an update file that is not the maker's, or not a program.
inline const std::string NotGenuine =
    "Die Update Datei ist nicht echt:\r\nihre Signatur fehlt oder ist ungültig.\r\n\r\n"
    "Das Update wurde nicht installiert!"_w;
// The program's folder is not the user's to write (a system-wide
// installation, which the package manager updates).
inline const std::string ProgramFolderReadOnly =
    "Der Ordner des Programms ist schreibgeschützt:\r\ndas Update kann hier nicht installiert werden.\r\n\r\n"
    "Bitte aktualisieren Sie das Programm mit der Paketverwaltung."_w;
// A signed but older version (an old file offered again): OlderUpdate, the
// two versions as in the installation question, NotInstalled.
inline const std::string OlderUpdate = "Die Update Datei ist älter als das laufende Programm!\r\n\r\n"_w;
inline const std::string NotInstalled = "\r\n\r\nDas Update wurde nicht installiert!";
inline const std::string NoVersion =
    "Die Update Datei ist kein Programm mit Versionsangabe.\r\n\r\nDas Update wurde nicht installiert!";

// The download's progress in the status bar, narrow enough for its field:
// ProgressPrefix, then the percent, or the kilobytes or megabytes received
// when the length is not known.
inline const std::string ProgressPrefix = "Update ";
inline const std::string PercentSuffix = " %";
inline const std::string KilobyteSuffix = " kB";
inline const std::string MegabyteSuffix = " MB";

}  // namespace zl::update_text
