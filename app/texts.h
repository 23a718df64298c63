// The texts of start-up, the About box and the status bar, in Windows-1252 as the
// window takes them. The captions of menus, buttons and labels stand in the
// window's layout tables (app/window_layout.cpp).
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::app_text {

inline const std::string AlreadyRunning = "Das Programm ist bereits gestartet!";

// The About box: AboutTitle and the product name, then the lines of its
// text with the program's values between them.
inline const std::string AboutTitle = "Über "_w;
inline const std::string VersionLabel = "Version: ";
inline const std::string VersionSuffix = "  -  (ZR 451)";
inline const std::string BuiltOn = "Erstellt am: ";
inline const std::string BuildTimeMask = "%dd.%mm.%yyyy - %hh:%ii:%ss";
inline const std::string FreewareNote = "Freie Software unter der MIT-Lizenz, kostenlos weiterzugeben.";
inline const std::string HomepageLabel = "Im Internet:";

inline const std::string Changed = "Geändert"_w;
// StatusFileField while no file is current: WorkingDirectory, the
// working folder, NoFileOpen.
inline const std::string WorkingDirectory = " Arbeitsverzeichnis: ";
inline const std::string NoFileOpen = "     (Es ist keine Datei geöffnet)"_w;

}  // namespace zl::app_text
