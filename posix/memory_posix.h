// How much memory the program can still take on Linux: MemAvailable of
// /proc/meminfo, less where the memory limit of the program's control
// group (cgroup v2 `memory.max`, v1 `memory.limit_in_bytes`, at its own
// level or any level above) leaves less room. Page cache that the system
// can drop (inactive files) counts as room. A file that cannot be read
// limits nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zl {

// The whole content of the file at a path, "" when it cannot be read.
using TextFileReader = std::function<std::string(const std::string& path)>;

// The room computed from the files as `read` gives them; /proc and /sys in
// the program, made-up files in tests.
std::uint64_t memoryRoom(const TextFileReader& read);

}  // namespace zl
