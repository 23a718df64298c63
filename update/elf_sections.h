// Finds a section of an ELF file by its name, through the file's section
// header table and its table of section names.
//
// Pure: the file is read through `ReadAt`, so a large program is never
// loaded whole and tests and the fuzzer feed bytes. Little-endian ELF of 32
// and of 64 bits (the byte order and the word sizes Debian builds this
// program for). Every offset and size read from the file is checked against
// the bytes that are really there; anything that does not fit, or a file
// that is not ELF, gives no section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zl {

// Reads `size` bytes at `offset` of the file into `bytes`; fewer, or none,
// past its end or when it cannot be read.
using ReadAt = std::function<void(std::uint64_t offset, std::size_t size, std::string& bytes)>;

// The contents of the first section named `name` that has bytes in the
// file and at most `maxSize` of them; nullopt when there is none.
std::optional<std::string> readElfSection(const ReadAt& read, std::string_view name, std::size_t maxSize);

}  // namespace zl
