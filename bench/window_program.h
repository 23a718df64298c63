// The program over the real platform with its window built (offscreen in
// the benchmarks), for benchmarks that time what the window does.
#pragma once

#include <QDir>

#include "platform/posix/file_system_posix.h"
#include "platform/posix/network_posix.h"
#include "platform/posix/signature_sodium.h"
#include "platform/posix/system_posix.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_ui.h"
#include "state/program.h"

namespace zl::bench {

template <typename WindowUi = QtUi>
struct WindowProgramOf {
  WindowProgramOf() {
    ui.createFonts();
    ui.buildMainWindow(program.list);
    ui.showMainWindow();
  }
  WindowUi ui;
  PosixSystem system;
  QtDesktopShell desktop;
  PosixFileSystem files;
  // Prints to this PDF file: no dialog waits in a benchmark.
  QtPrinter printer{ui, QDir::temp().filePath(QStringLiteral("zl-bench-printout.pdf"))};
  PosixNetwork network;
  SodiumSignatureVerifier signatures;
  Program program{Platform{ui, system, desktop, files, printer, network, signatures}};
};

using WindowProgram = WindowProgramOf<>;

}  // namespace zl::bench
