// TCP connections for the internet update: name resolution, connecting,
// sending and receiving with deadlines on a monotonic clock.
//
// Abstract so tests can make the network unavailable; the real version is
// POSIX sockets (network_posix.h). Deadlines are milliseconds of `now()`, so
// no change of the wall clock stretches or cuts a wait. Nothing here blocks
// past its deadline (name resolution excepted: the resolver has no time
// limit of its own) and nothing shows a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zl {

enum class Received { Data, Closed, TimedOut, Failed };

// One open connection; closed when destroyed.
class Connection {
 public:
  virtual ~Connection() = default;
  // Sends all of `bytes` by `deadline`. False when the time runs out or the
  // connection fails; how much went out is then unknown.
  virtual bool sendAll(std::string_view bytes, std::int64_t deadline) = 0;
  // Waits until bytes arrive or `deadline` passes and reads what is there,
  // at most `capacity` bytes into `buffer`. Data: `size` bytes were read
  // (at least one). Closed: the peer ended the connection in order. TimedOut
  // and Failed read nothing.
  virtual Received receive(char* buffer, std::size_t capacity, std::size_t& size, std::int64_t deadline) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // Makes the socket layer ready once for the rest of the run; false while
  // it cannot be (then a later call tries again).
  virtual bool ready() = 0;
  // The monotonic clock of the deadlines, in milliseconds.
  virtual std::int64_t now() = 0;
  // Resolves `host` (a dotted address or a name) and connects to `port`,
  // trying its addresses in the resolver's order. nullptr when none answers
  // by `deadline`.
  virtual std::unique_ptr<Connection> connect(const std::string& host, std::uint16_t port, std::int64_t deadline) = 0;
};

}  // namespace zl
