#include "store/path_names.h"

#include "platform/paths.h"

namespace zl {

namespace {

std::size_t fileNameStart(std::string_view path) { return path.size() - fileNameOf(path).size(); }

}  // namespace

std::string extensionOf(std::string_view path) {
  const std::string_view name = path.substr(fileNameStart(path));
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string changeExtension(std::string_view path, std::string_view extension) {
  const std::size_t nameAt = fileNameStart(path);
  const std::string_view name = path.substr(nameAt);
  const std::size_t dot = name.rfind('.');
  std::string newSuffix(1, '.');
  newSuffix.append(extension);
  if (dot == std::string_view::npos || dot + 1 == name.size()) return std::string(path).append(newSuffix);
  const std::string_view oldSuffix = name.substr(dot);  // with its point
  std::string result(path.substr(0, nameAt));
  for (std::size_t at = 0; at < name.size();) {
    if (name.compare(at, oldSuffix.size(), oldSuffix) == 0) {
      result += newSuffix;
      at += oldSuffix.size();
    } else {
      result += name[at++];
    }
  }
  return result;
}

}  // namespace zl
