// The desktop shell of the real program: the freedesktop.org files of the
// POSIX part (desktop_posix.h), and URLs opened through QDesktopServices,
// which hands them to `xdg-open` found on PATH (or to the desktop's portal).
//
// Opening a URL reports nothing: where no program takes it, nothing
// visible happens. The program's windows show its icon, given as PNG
// images.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "posix/desktop_posix.h"

namespace zl {

class QtDesktopShell : public PosixDesktopShell {
 public:
  void openUrl(const std::string& url) override;
};

// Gives every window of the program the icon of `pngImages` (one PNG image
// of each size; one that cannot be read is left out), and tells the
// desktop the name of the program's desktop entry, by which it finds that
// icon too.
void setProgramIcon(const std::string& desktopId, const std::vector<std::string_view>& pngImages);

}  // namespace zl
