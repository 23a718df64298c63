#include "bench/first_paint.h"

#include <QCoreApplication>
#include <QEvent>

namespace zl::bench {

void waitForFirstPaint(QWidget* window) {
  struct PaintWatch : QObject {
    QWidget* window = nullptr;
    bool painted = false;
    bool eventFilter(QObject* object, QEvent* event) override {
      if (event->type() == QEvent::Paint && object->isWidgetType() && static_cast<QWidget*>(object)->window() == window)
        painted = true;
      return false;
    }
  } watch;
  watch.window = window;
  QCoreApplication::instance()->installEventFilter(&watch);
  while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::instance()->removeEventFilter(&watch);
}

}  // namespace zl::bench
