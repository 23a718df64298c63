// The texts of start-up and of the status bar, in Windows-1252 as the
// window takes them. The captions of menus, buttons and labels stand in the
// window's layout tables (app/window_layout.cpp).
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::text {

inline const std::string ErrorTitle = "Fehler";
inline const std::string AlreadyRunning = "Das Programm ist bereits gestartet!";

inline const std::string Changed = "Geändert"_w;
// StatusFileField while no file is current: WorkingDirectory, the
// program's folder, NoFileOpen.
inline const std::string WorkingDirectory = " Arbeitsverzeichnis: ";
inline const std::string NoFileOpen = "     (Es ist keine Datei geöffnet)"_w;

}  // namespace zl::text
