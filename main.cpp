// Wires the program logic to Qt and POSIX and runs it.
#include <QApplication>

#include "app/startup.h"
#include "desktop/desktop_entry.h"
#include "desktop/icon_files.h"
#include "qt/desktop_qt.h"
#include "qt/real_platform.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QStringLiteral("Zelvo Lingotak"));
  zl::useGermanEverywhere();
  zl::useProportionalDefaultFont();
  zl::setProgramIcon(zl::DesktopId, zl::programIconImages());

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  zl::RealPlatform real;
  return zl::runProgram(real.platform(), arguments);
}
