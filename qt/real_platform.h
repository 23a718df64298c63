// The real outside world of the program, wired as it runs on Linux: the Qt
// window `WindowUi` (QtUi, or a benchmark's variant of it), the POSIX
// system, files and network, libsodium's signature check, the desktop and
// the printer. main.cpp and the benchmarks start the program on it.
//
// Holds every service by value for its own life; nothing here fails.
#pragma once

#include <QString>

#include "posix/file_system_posix.h"
#include "posix/network_posix.h"
#include "posix/signature_sodium.h"
#include "posix/system_posix.h"
#include "qt/desktop_qt.h"
#include "qt/printer_qt.h"
#include "qt/qt_ui.h"
#include "state/program.h"

namespace zl {

template <typename WindowUi = QtUi>
struct RealPlatformOf {
  // `pdfPath` empty: printing asks with the print dialog; otherwise it
  // prints to that PDF file without asking.
  explicit RealPlatformOf(const QString& pdfPath = {}) : printer(ui, pdfPath) {}
  RealPlatformOf(const RealPlatformOf&) = delete;
  RealPlatformOf& operator=(const RealPlatformOf&) = delete;

  Platform platform() { return {ui, ui, ui, ui, system, desktop, files, printer, network, signatures}; }

  WindowUi ui;
  PosixSystem system;
  QtDesktopShell desktop;
  PosixFileSystem files;
  QtPrinter printer;
  PosixNetwork network;
  SodiumSignatureVerifier signatures;
};

using RealPlatform = RealPlatformOf<>;

}  // namespace zl
