// Requests to end the program that come from outside the window: SIGTERM
// and SIGHUP (a `kill`, a closed terminal, a shutdown) and the end of the
// desktop session. Each goes the way of the window's close button, so that
// unsaved pairs get the question first instead of being lost.
//
// The signal handlers only write a byte into a pipe; the request is acted on
// by Qt's event loop when it sees that byte, never inside the handler. While
// an `EndRequests` lives, it owns SIGTERM and SIGHUP of the process; it
// gives them back to their default handling when it goes.
#pragma once

#include <QObject>
#include <functional>

class QSessionManager;
class QSocketNotifier;

namespace zl {

class EndRequests : public QObject {
  Q_OBJECT

 public:
  // `close` asks the program to end as the close button does. `agreeToEnd`
  // does the same at once and tells whether the program has agreed to end;
  // when it has not, the desktop session is asked not to end.
  EndRequests(std::function<void()> close, std::function<bool()> agreeToEnd);
  ~EndRequests() override;
  EndRequests(const EndRequests&) = delete;
  EndRequests& operator=(const EndRequests&) = delete;

 private:
  void readSignals();
  void commitData(QSessionManager& manager);

  std::function<void()> close_;
  std::function<bool()> agreeToEnd_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zl
