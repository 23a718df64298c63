#include "desktop/icon_files.h"

namespace zl {

std::string_view themeIconFile(std::string_view path) {
  for (const IconFile& file : themeIconFiles()) {
    if (file.path == path) return file.content();
  }
  return {};
}

std::vector<std::string_view> programIconImages() {
  std::vector<std::string_view> images;
  for (const IconFile& file : themeIconFiles()) {
    if (file.path.find("/apps/") != std::string_view::npos && file.path.ends_with(".png")) {
      images.push_back(file.content());
    }
  }
  return images;
}

}  // namespace zl
