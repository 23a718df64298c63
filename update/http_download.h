// httpDownloadToFile: one plain HTTP/1.1 GET, its body written into a file
// as it arrives (the memory stays flat whatever the size).
//
// A status of 200 or 302 is taken (a 302's body is saved, the redirect not
// followed); no proxy, no encryption, no authentication. A download counts
// only when the whole body arrived: by its Content-Length, up to the chunk
// of size 0, or, without either, until the server closes or is silent for
// a while. Every wait has a limit, the whole download one more, and a
// server that sends less than 1 KB in 30 seconds is given up. While it
// waits, the caller is asked every 100 ms whether to go on, so that it can
// keep the window alive and stop the download. The result says how it
// ended, so that the caller can tell the user what happened; nothing is
// reported to the user here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/network.h"

namespace zl {

struct DownloadLimits {
  int sendMilliseconds = 10'000;    // for the whole request
  int blockMilliseconds = 10'000;   // for the connection and each block
  int silenceMilliseconds = 1'000;  // ends a body without length or chunks
  int totalMilliseconds = 600'000;  // for the whole download: 10 minutes
  int stallMilliseconds = 30'000;   // at least stallBytes must arrive in each such span
  std::uint64_t stallBytes = 1024;
  int tickMilliseconds = 100;       // the longest wait without asking the caller
  std::size_t maxHead = 16 * 1024;  // a longer head is refused
  std::uint64_t maxBody = 1'000'000'000;
};

// Told the body bytes received so far and the body's whole length, 0 when
// it is not known; called after every block and at least every
// tickMilliseconds while waiting. False stops the download.
using DownloadProgress = std::function<bool(std::uint64_t received, std::uint64_t length)>;

// How a download ended. Anything but Done and DoneBySilence leaves the file
// unfinished.
enum class DownloadOutcome {
  Done,  // the whole body is in the file, and the file is finished
  // A body without length or chunks that ended when the server fell silent
  // without closing: the file is finished, but whether all of it came
  // cannot be known (a server that paused too long sent less).
  DoneBySilence,
  NoConnection,  // no server at the URL's host and port, or the request could not be sent
  Refused,       // the server answered, but not with the file (another status, no HTTP)
  CutShort,      // the connection ended or broke before the whole body, or the body's coding broke
  CannotWrite,   // the file could not be written or finished
  DiskFull,      // the same, because the disk is full
  TooLarge,      // the head or the body is over its limit
  TooSlow,       // a wait ran out: for a block, for the whole download, or 1 KB in 30 s
  Stopped,       // the caller asked to stop
};

// Fetches `url` and writes its body into `file`, finishing it. Done (or
// DoneBySilence) when the whole body is in the file and it was finished;
// otherwise why not (the file is then not finished, and the caller drops
// it).
DownloadOutcome httpDownloadToFile(Network& network, const std::string& url, OutputFile& file,
                                   const DownloadLimits& limits = {}, const DownloadProgress& progress = {});

// A body kept in memory: a small file such as a signature.
class BodyText : public OutputFile {
 public:
  bool write(std::string_view bytes) override {
    text.append(bytes);
    return true;
  }
  bool finish() override { return true; }
  Failure failure() const override { return {}; }
  std::string text;
};

}  // namespace zl
