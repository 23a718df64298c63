// httpDownloadToFile: one plain HTTP/1.1 GET, its body written into a file
// as it arrives (the memory stays flat whatever the size).
//
// A status of 200 or 302 is taken (a 302's body is saved, the redirect not
// followed); no proxy, no encryption, no authentication. The file is
// created only once the head is accepted, and removed again unless the
// whole body arrived: by its Content-Length, up to the chunk of size 0, or,
// without either, until the server closes or is silent for a while. Every
// wait has a limit and the whole download one more; nothing is reported to
// the user here.
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
  std::size_t maxHead = 16 * 1024;  // a longer head is refused
  std::uint64_t maxBody = 1'000'000'000;
};

// Told the body bytes received so far and the body's whole length, 0 when
// it is not known; called after every block.
using DownloadProgress = std::function<void(std::uint64_t received, std::uint64_t length)>;

// Fetches `url` into the file at `path`, replacing a file there. True when
// the whole body is in the file; false otherwise, and then there is no file
// at `path` (one that was there before is gone once the head is accepted).
bool httpDownloadToFile(Network& network, FileSystem& files, const std::string& url, const std::string& path,
                        const DownloadLimits& limits = {}, const DownloadProgress& progress = {});

}  // namespace zl
