// Helpers to time a start-up up to the first painted window.
#pragma once

#include <QWidget>

#include "qt/qt_ui.h"

namespace zl::bench {

// Spins the event loop until some widget of `window` has been painted.
void waitForFirstPaint(QWidget* window);

// The real window whose event loop returns as soon as it has been painted,
// so the program's whole start-up runs and then ends.
class FirstPaintUi : public QtUi {
 public:
  void runEventLoop(EventSink&) override { waitForFirstPaint(window()); }
};

}  // namespace zl::bench
