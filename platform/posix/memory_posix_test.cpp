#include "platform/posix/memory_posix.h"

#include <gtest/gtest.h>

#include <map>


namespace zl {
namespace {

std::uint64_t roomWith(const std::map<std::string, std::string>& files) {
  return memoryRoom([&](const std::string& path) {
    const auto found = files.find(path);
    return found == files.end() ? std::string() : found->second;
  });
}

const std::string kMeminfo = "MemTotal: 8000000 kB\nMemFree: 100 kB\nMemAvailable: 4000000 kB\n";

TEST(MemoryRoom, TheTightestOfMemAvailableAndEveryCgroupLevelCounts) {
  // No limits: what the system has available.
  EXPECT_EQ(roomWith({{"/proc/meminfo", kMeminfo}, {"/proc/self/cgroup", "0::/user/app\n"}}), 4000000ull * 1024);
  // A v2 limit one level up, with dropped page cache counting as room.
  EXPECT_EQ(roomWith({{"/proc/meminfo", kMeminfo},
                      {"/proc/self/cgroup", "0::/user/app\n"},
                      {"/sys/fs/cgroup/user/app/memory.max", "max\n"},
                      {"/sys/fs/cgroup/user/memory.max", "3000000000\n"},
                      {"/sys/fs/cgroup/user/memory.current", "2500000000\n"},
                      {"/sys/fs/cgroup/user/memory.stat", "anon 1\ninactive_file 500000000\nactive_file 9\n"}}),
            1000000000u);
  // A v1 memory group at the root of the container: "no limit" is a huge number.
  EXPECT_EQ(roomWith({{"/proc/meminfo", kMeminfo},
                      {"/proc/self/cgroup", "5:cpu,cpuacct:/\n4:memory:/box\n0::/\n"},
                      {"/sys/fs/cgroup/memory/box/memory.limit_in_bytes", "9223372036854771712\n"},
                      {"/sys/fs/cgroup/memory/memory.limit_in_bytes", "3221225472\n"},
                      {"/sys/fs/cgroup/memory/memory.usage_in_bytes", "3300000000\n"}}),
            0u);  // over its limit already: no room at all
}

}  // namespace
}  // namespace zl
