// A scripted HTTP server on 127.0.0.1, for the network tests and the
// download benchmark: the only server they ever talk to.
//
// It takes one connection after another on a thread of its own, reads the
// request's head (up to its empty line), records it, and plays the reply
// scripted for the request's path (a bare 404 for any other path), then
// closes the connection. Destroying it stops the thread at once, also in
// the middle of a pause.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zl {

class LocalServer {
 public:
  // One step of a reply: `bytes` sent `repeat` times, then a pause
  // (-1: until the client closes or the server stops).
  struct Step {
    std::string bytes;
    std::uint64_t repeat = 1;
    int pauseMilliseconds = 0;
  };

  LocalServer();
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  // `path` starts with "/".
  void reply(const std::string& path, std::vector<Step> steps);
  // "http://127.0.0.1:<port>" + path.
  std::string url(const std::string& path) const;
  std::uint16_t port() const { return port_; }
  // Every request's head as it arrived, in order.
  std::vector<std::string> requests() const;

 private:
  void serve();
  void answer(int client);
  bool pause(int client, int milliseconds);  // false when the client or the server ends

  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<Step>> replies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace zl
