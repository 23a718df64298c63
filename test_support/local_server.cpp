#include "test_support/local_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace zl {

LocalServer::LocalServer() {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  // Without a port (0) every test of it fails at its first connection.
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(listener_, 16) == 0 &&
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port_ = ntohs(address.sin_port);
  if (::pipe2(stopPipe_, O_CLOEXEC) != 0) stopPipe_[0] = stopPipe_[1] = -1;
  thread_ = std::thread([this] { serve(); });
}

LocalServer::~LocalServer() {
  ::close(stopPipe_[1]);  // wakes every wait of the thread
  thread_.join();
  ::close(stopPipe_[0]);
  ::close(listener_);
}

void LocalServer::reply(const std::string& path, std::vector<Step> steps) {
  const std::lock_guard lock(mutex_);
  replies_[path] = std::move(steps);
}

std::string LocalServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

bool LocalServer::pause(int client, int milliseconds) {
  char ignored[512];
  for (;;) {
    pollfd waits[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    const int n = ::poll(waits, 2, milliseconds);
    if (n == 0) return true;
    if (n < 0 || waits[1].revents != 0 || ::recv(client, ignored, sizeof ignored, 0) <= 0) return false;
  }
}

void LocalServer::serve() {
  for (;;) {
    pollfd waits[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0 && errno != EINTR) return;
    if (waits[1].revents != 0) return;
    if (waits[0].revents == 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    answer(client);
    ::close(client);
  }
}

void LocalServer::answer(int client) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    pollfd waits[2] = {{client, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(waits, 2, -1) <= 0 || waits[1].revents != 0) return;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  std::vector<Step> steps{{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}};
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(head);
    const std::size_t start = head.find(' ') + 1;
    const auto found = replies_.find(head.substr(start, head.find(' ', start) - start));
    if (found != replies_.end()) steps = found->second;
  }
  for (const Step& step : steps) {
    for (std::uint64_t i = 0; i < step.repeat; ++i)
      if (!step.bytes.empty() && ::send(client, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) < 0) return;
    if (step.pauseMilliseconds != 0 && !pause(client, step.pauseMilliseconds)) return;
  }
}

}  // namespace zl
