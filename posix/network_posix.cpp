#include "posix/network_posix.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

#include "posix/descriptors.h"

namespace zl {

namespace {

std::int64_t monotonicMilliseconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Waits for `events` on `fd` until `deadline`; false when the time ran out
// or poll failed.
bool waitFor(int fd, short events, std::int64_t deadline) {
  for (;;) {
    const std::int64_t left = deadline - monotonicMilliseconds();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left, std::numeric_limits<int>::max())));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

class PosixConnection : public Connection {
 public:
  explicit PosixConnection(Descriptor socket) : socket_(std::move(socket)) {}

  bool sendAll(std::string_view bytes, std::int64_t deadline) override {
    while (!bytes.empty()) {
      const ssize_t n = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        if (!waitFor(socket_.get(), POLLOUT, deadline)) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  Received receive(char* buffer, std::size_t capacity, std::size_t& size, std::int64_t deadline) override {
    size = 0;
    // Read first and wait only when nothing is there: a busy download then
    // costs one call per block instead of two.
    for (;;) {
      const ssize_t n = ::recv(socket_.get(), buffer, capacity, 0);
      if (n > 0) {
        size = static_cast<std::size_t>(n);
        return Received::Data;
      }
      if (n == 0) return Received::Closed;
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return Received::Failed;
      if (!waitFor(socket_.get(), POLLIN, deadline)) return Received::TimedOut;
    }
  }

 private:
  Descriptor socket_;
};

// A connected socket to `address`, or -1 when it does not answer by
// `deadline`.
Descriptor connectTo(const addrinfo& address, std::int64_t deadline) {
  Descriptor socket(
      ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
  if (!socket) return socket;
  int error = 0;
  if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) != 0) {
    socklen_t length = sizeof error;
    if (errno != EINPROGRESS || !waitFor(socket.get(), POLLOUT, deadline) ||
        ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
      error = -1;
  }
  return error == 0 ? std::move(socket) : Descriptor();
}

}  // namespace

bool PosixNetwork::ready() {
  if (!ready_) {
    ready_ = static_cast<bool>(Descriptor(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)));
  }
  return ready_;
}

std::int64_t PosixNetwork::now() { return monotonicMilliseconds(); }

std::unique_ptr<Connection> PosixNetwork::connect(const std::string& host, std::uint16_t port, std::int64_t deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* addresses = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) return nullptr;
  Descriptor socket;
  for (const addrinfo* a = addresses; a != nullptr && !socket; a = a->ai_next) socket = connectTo(*a, deadline);
  ::freeaddrinfo(addresses);
  if (!socket) return nullptr;
  return std::make_unique<PosixConnection>(std::move(socket));
}

}  // namespace zl
