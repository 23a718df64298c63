// The trainer's own start-up (main.cpp, step for step), ending at the first
// paint of its window instead of running the event loop.
#include <QApplication>

#include "app/startup.h"
#include "bench/first_paint.h"
#include "qt/real_platform.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelvo Lingotak"));
  zl::useGermanEverywhere();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  zl::RealPlatformOf<zl::bench::FirstPaintUi> real;
  return zl::runProgram(real.platform(), arguments);
}
