// Wires the program logic to Qt and POSIX and runs it.
#include <QApplication>

#include "app/startup.h"
#include "desktop/desktop_entry.h"
#include "desktop/icon_files.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/network_posix.h"
#include "platform/posix/signature_sodium.h"
#include "platform/posix/system_posix.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_ui.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("Zelvo Lingotak"));
  zl::useGermanEverywhere();
  zl::setProgramIcon(zl::DesktopId, zl::programIconImages());

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  zl::QtUi ui;
  zl::PosixSystem system;
  zl::QtDesktopShell desktop;
  zl::PosixFileSystem files;
  zl::QtPrinter printer(ui);
  zl::PosixNetwork network;
  zl::SodiumSignatureVerifier signatures;
  return zl::runProgram({ui, system, desktop, files, printer, network, signatures}, arguments);
}
