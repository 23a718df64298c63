// The extensions of file names. Paths are held as the system gives them
// (bytes); their folder is split off as platform/paths.h does. Pure.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// The text after the last "." of the file-name part; "" when it has none.
std::string extensionOf(std::string_view path);

// The path with its file-name extension replaced, or ".extension" appended
// when it has none. Every occurrence of "." + old extension in the file-name
// part is replaced, left to right and case-sensitively, so kap.1.1 with lts
// gives kap.lts.lts; a point in a folder name never counts. `extension` is
// given without its point.
std::string changeExtension(std::string_view path, std::string_view extension);

}  // namespace zl
