#include "qt/end_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace zl {

namespace {

// The self-pipe: [0] is read by the event loop, [1] written by the handler.
int signalPipe[2] = {-1, -1};

void onEndSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);  // async-signal-safe
  errno = savedErrno;
}

void handleEndSignals(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace

EndRequests::EndRequests(std::function<void()> close, std::function<bool()> agreeToEnd)
    : close_(std::move(close)), agreeToEnd_(std::move(agreeToEnd)) {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndRequests::readSignals);
    handleEndSignals(onEndSignal);
  }  // without a pipe the signals keep ending the program as before
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(app, &QGuiApplication::commitDataRequest, this, &EndRequests::commitData, Qt::DirectConnection);
}

EndRequests::~EndRequests() {
  if (!notifier_) return;
  handleEndSignals(SIG_DFL);
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void EndRequests::readSignals() {
  char bytes[16];
  bool requested = false;
  while (::read(signalPipe[0], bytes, sizeof bytes) > 0) requested = true;  // several signals: one request
  if (requested) close_();
}

// The session manager asks the program to save its data before the session
// ends. Where it lets the program ask the user, the unsaved-data question
// decides; Cancel keeps the session.
void EndRequests::commitData(QSessionManager& manager) {
  if (!manager.allowsInteraction()) return;
  const bool agreed = agreeToEnd_();
  manager.release();
  if (!agreed) manager.cancel();
}

}  // namespace zl
