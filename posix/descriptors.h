// Whole reads and writes on an open file descriptor, for the POSIX
// adapters: each goes on after an interrupted call and stops at the first
// real failure. Nothing here opens, closes or syncs.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// Writes all of `bytes` at the descriptor's position. False at the first
// failure; how much was written is then unknown.
bool writeAll(int fd, std::string_view bytes);

// After a write, flush or close has failed: sets `diskFull` when errno
// says that the disk, or the user's quota, is full (it stays set once
// set). Always false, so that it can end a failed condition.
bool noteWriteFailure(bool& diskFull);

// Reads from the descriptor's position to the end into `bytes` (replacing
// what it held). False at a failure, with `bytes` holding what came before.
bool readAll(int fd, std::string& bytes);

}  // namespace zl
