// SHA-1, which Anki's notes use for the checksum of their first field and
// which names their notes here. Not for anything that must be secure.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zl {

std::array<std::uint8_t, 20> sha1(std::string_view bytes);

}  // namespace zl
