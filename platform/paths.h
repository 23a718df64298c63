// A path split into its folder and its file name, the one way the program
// does it: at the last "/", the only separator the system knows. A "\" is
// a letter of a file name on Linux, also in names that came from Windows.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// Everything up to and including the last "/"; "" for a bare name.
inline std::string folderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

// Everything after the last "/"; the whole path for a bare name.
inline std::string fileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace zl
