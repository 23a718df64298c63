// The records of update/program_file.h as this build writes them into the
// program: compiled into the program itself, not into a library, so that
// the linker cannot leave them out. ZL_FILE_VERSION and
// ZL_UPDATE_PUBLIC_KEY come from CMake (the project's version and the
// cache variable; CMake checks the key's form).
#include <array>
#include <string_view>

#include "update/program_file.h"

namespace {

consteval std::array<char, zl::UpdateKeyLength> keyText(std::string_view key) {
  std::array<char, zl::UpdateKeyLength> text{};
  for (std::size_t i = 0; i < key.size() && i < text.size(); ++i) text[i] = key[i];
  return text;
}

[[gnu::section(".zl_version"), gnu::used, gnu::retain]] constinit const zl::FixedFileInfo programVersion =
    zl::fixedFileInfo(ZL_FILE_VERSION);
[[gnu::section(".zl_update_key"), gnu::used, gnu::retain]] constinit const std::array<char, zl::UpdateKeyLength>
    updateKey = keyText(ZL_UPDATE_PUBLIC_KEY);

}  // namespace
