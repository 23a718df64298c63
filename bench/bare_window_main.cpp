// A bare Qt 6 main window of the trainer's size, ending at its first paint:
// the yardstick for the trainer's start-up.
#include <QApplication>
#include <QMainWindow>

#include "bench/first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setFixedSize(600, 450);
  window.show();
  zl::bench::waitForFirstPaint(&window);
  return 0;
}
