// The generated table behind closestCp1252 (tools/make_closest_table.py):
// code points in rising order, each with its text in kClosestBytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zl {

struct ClosestText {
  char32_t codePoint;
  std::uint16_t offset;
  std::uint8_t length;
};

extern const ClosestText kClosestTexts[];
extern const std::size_t kClosestTextCount;
extern const char kClosestBytes[];

}  // namespace zl
