// The indexes of the program's twelve own icons, in the order they are
// stored and decoded; menus and toolbar refer to them by these names.
// Plain data, cannot fail.
#pragma once

namespace zl {

enum IconId : int {
  NoIcon = -1,
  ImageNew = 0,
  ImageOpen = 1,
  ImageSave = 2,
  ImageSearch = 3,
  ImageSort = 4,
  ImagePrint = 5,
  ImageUpdate = 6,
  ImageHomepage = 7,
  ImageInfo = 8,
  ImageShortcut = 9,
  ImageRestore = 10,
  ImageRegister = 11,
};
inline constexpr int IconCount = ImageRegister + 1;

}  // namespace zl
