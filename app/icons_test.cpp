#include "app/icons.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace zl {
namespace {

std::vector<unsigned char> iconFile(int index) {
  const auto all = embeddedIconFiles();
  return {all.begin() + index * IconFileSize, all.begin() + (index + 1) * IconFileSize};
}

TEST(Icons, TwelveIconFilesAreBuiltIn) { EXPECT_EQ(embeddedIconFiles().size(), 12u * IconFileSize); }

TEST(Icons, EveryIconDecodesToAPictureWithATransparentBackground) {
  for (int i = 0; i < IconCount; ++i) {
    IconImage image;
    ASSERT_TRUE(decodeIcon(iconFile(i), image)) << i;
    std::set<std::uint32_t> colours;
    int transparent = 0;
    for (std::uint32_t pixel : image.argb) {
      if (pixel == 0)
        ++transparent;
      else
        colours.insert(pixel);
      EXPECT_TRUE((pixel >> 24) == 0 || (pixel >> 24) == 0xFF);
    }
    EXPECT_GT(transparent, 0) << i;
    EXPECT_GE(colours.size(), 2u) << i;  // a picture, not a blot
  }
}

TEST(Icons, RowsAreStoredBottomUp) {
  // The info icon is a disc with a white "i": the dot on rows 3 and 4, a
  // blue gap on row 5, the stem below. Read upside down, row 5 would be white.
  IconImage info;
  ASSERT_TRUE(decodeIcon(iconFile(ImageInfo), info));
  auto at = [&](int row, int col) { return info.argb[static_cast<std::size_t>(row * IconSide + col)]; };
  EXPECT_EQ(at(0, 0), 0u);  // transparent corner
  EXPECT_EQ(at(3, 7), 0xFFFFFFFFu);
  EXPECT_EQ(at(3, 8), 0xFFFFFFFFu);
  EXPECT_EQ(at(5, 7), 0xFF0000FFu);  // blue, 0000FF
  EXPECT_EQ(at(12, 6), 0xFFFFFFFFu);
  EXPECT_EQ(at(12, 5), 0xFF0000FFu);
}

TEST(Icons, DamagedFilesAreRefusedAndLeaveTheImageAlone) {
  IconImage image;
  image.argb.fill(0x12345678u);
  auto file = iconFile(0);
  EXPECT_FALSE(decodeIcon(std::span(file).first(100), image));
  auto wrongSize = file;
  wrongSize[6] = 32;
  EXPECT_FALSE(decodeIcon(wrongSize, image));
  auto outside = file;
  outside[18] = 0xFF;  // image offset beyond the file
  EXPECT_FALSE(decodeIcon(outside, image));
  auto depth = file;
  depth[22 + 14] = 8;  // 256 colours
  EXPECT_FALSE(decodeIcon(depth, image));
  EXPECT_FALSE(decodeIcon({}, image));
  EXPECT_EQ(image.argb[0], 0x12345678u);
}

}  // namespace
}  // namespace zl
