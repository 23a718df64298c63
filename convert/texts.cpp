#include "convert/texts.h"

namespace zl::convert_text {

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t number = i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - '1') : values.size();
    if (pattern[i] == '%' && number < values.size()) {
      text += values.begin()[number];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string counted(std::int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace zl::convert_text
