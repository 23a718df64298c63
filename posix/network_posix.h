// TCP connections over POSIX sockets: getaddrinfo, a non-blocking connect,
// send and recv that wait with poll, CLOCK_MONOTONIC for the deadlines.
//
// Sockets are non-blocking and close-on-exec, so a program started later
// inherits none; sending never raises SIGPIPE. The socket layer counts as
// ready once a TCP socket could be made.
#pragma once

#include "platform/network.h"

namespace zl {

class PosixNetwork : public Network {
 public:
  bool ready() override;
  std::int64_t now() override;
  std::unique_ptr<Connection> connect(const std::string& host, std::uint16_t port, std::int64_t deadline) override;

 private:
  bool ready_ = false;
};

}  // namespace zl
