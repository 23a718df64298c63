// The trainer's own start-up (main.cpp, step for step), ending at the first
// paint of its window instead of running the event loop.
#include <QApplication>

#include "app/startup.h"
#include "bench/first_paint.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/network_posix.h"
#include "platform/posix/signature_sodium.h"
#include "platform/posix/system_posix.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/printer_qt.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelvo Lingotak"));
  zl::useGermanEverywhere();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  zl::bench::FirstPaintUi ui;
  zl::PosixSystem system;
  zl::QtDesktopShell desktop;
  zl::PosixFileSystem files;
  zl::QtPrinter printer(ui);
  zl::PosixNetwork network;
  zl::SodiumSignatureVerifier signatures;
  return zl::runProgram({ui, system, desktop, files, printer, network, signatures}, arguments);
}
