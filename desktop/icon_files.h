// The program's icon and the icon of vocabulary files as the files of the
// hicolor icon theme: drawn as SVG (desktop/icons/), made into PNGs of 16
// to 256 pixels when the program is built, and built into the program, so
// that registering can put them into the user's icon theme and the window
// can show them. Each is named by its path below the theme's folder:
// "48x48/apps/zelvo-lingotak.png", "scalable/mimetypes/...svg". Nothing
// here fails.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace zl {

struct IconFile {
  std::string_view path;
  std::span<const unsigned char> bytes;
  std::string_view content() const { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }
};

std::span<const IconFile> themeIconFiles();

// The bytes of the icon file at `path` below the theme's folder; empty
// when there is none.
std::string_view themeIconFile(std::string_view path);

// The program's icon as PNG images, one of each size, for its windows.
std::vector<std::string_view> programIconImages();

}  // namespace zl
