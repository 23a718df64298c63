#include "posix/memory_posix.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "posix/descriptors.h"
#include "posix/system_posix.h"

namespace zl {

namespace {

constexpr std::uint64_t Unlimited = std::numeric_limits<std::uint64_t>::max();

// The number after `key` in a "key value" listing (meminfo, memory.stat);
// `fallback` when the key is missing.
std::uint64_t valueOf(const std::string& listing, const std::string& key, std::uint64_t fallback) {
  std::istringstream lines(listing);
  std::string name;
  std::uint64_t value = 0;
  while (lines >> name >> value) {
    if (name == key) return value;
    lines.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return fallback;
}

// A file holding one number; Unlimited for "max", for v1's "no limit"
// (a number near 2^63) and for a file that is missing or unreadable.
std::uint64_t numberIn(const std::string& text) {
  std::istringstream in(text);
  std::uint64_t value = 0;
  if (!(in >> value) || value >= (std::uint64_t{1} << 62)) return Unlimited;
  return value;
}

struct CgroupFiles {
  std::string root;  // the mount of the hierarchy
  const char* limit;
  const char* usage;
  const char* inactiveFile;  // the key in memory.stat
};

// The room under the limits of `path` and every level above it.
std::uint64_t roomUnder(const TextFileReader& read, const CgroupFiles& files, std::string path) {
  std::uint64_t room = Unlimited;
  for (;;) {
    const std::string folder = files.root + (path == "/" ? "" : path) + "/";
    const std::uint64_t limit = numberIn(read(folder + files.limit));
    if (limit != Unlimited) {
      const std::uint64_t usage = numberIn(read(folder + files.usage));
      const std::uint64_t droppable = valueOf(read(folder + "memory.stat"), files.inactiveFile, 0);
      const std::uint64_t used = usage == Unlimited ? 0 : usage - std::min(usage, droppable);
      room = std::min(room, limit - std::min(limit, used));
    }
    if (path.empty() || path == "/") return room;
    path.resize(path.rfind('/'));
    if (path.empty()) path = "/";
  }
}

}  // namespace

std::uint64_t memoryRoom(const TextFileReader& read) {
  std::uint64_t room = Unlimited;
  const std::uint64_t availableKb = valueOf(read("/proc/meminfo"), "MemAvailable:", Unlimited);
  if (availableKb != Unlimited) room = availableKb * 1024;
  // "0::/path" names the v2 group; "4:memory:/path" the v1 memory group.
  std::istringstream groups(read("/proc/self/cgroup"));
  for (std::string line; std::getline(groups, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (line.compare(0, first, "0") == 0 && controllers.empty())
      room = std::min(room, roomUnder(read, {"/sys/fs/cgroup", "memory.max", "memory.current", "inactive_file"}, path));
    else if (("," + controllers + ",").find(",memory,") != std::string::npos)
      room = std::min(room, roomUnder(read,
                                      {"/sys/fs/cgroup/memory", "memory.limit_in_bytes", "memory.usage_in_bytes",
                                       "total_inactive_file"},
                                      path));
  }
  return room;
}

std::uint64_t PosixSystem::availableMemory() {
  return memoryRoom([](const std::string& path) {
    std::string text;
    readWholeFile(path, text);
    return text;
  });
}

}  // namespace zl
