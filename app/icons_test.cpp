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
      if (pixel == 0) ++transparent;
      else colours.insert(pixel);
      EXPECT_TRUE((pixel >> 24) == 0 || (pixel >> 24) == 0xFF);
    }
    EXPECT_GT(transparent, 0) << i;
    EXPECT_GE(colours.size(), 2u) << i;  // a picture, not a blot
  }
}

TEST(Icons, RowsAreStoredBottomUp) {
  // The info icon is a round disc: its top-left and bottom-left corners are
  // transparent, its centre is not; the white "i" dot sits in the upper half.
  IconImage info;
  ASSERT_TRUE(decodeIcon(iconFile(ImageInfo), info));
  EXPECT_EQ(info.argb[0], 0u);
  EXPECT_EQ(info.argb[15 * 16], 0u);
  EXPECT_NE(info.argb[8 * 16 + 8], 0u);
  int whiteTop = 0, whiteBottom = 0;
  for (int i = 0; i < 256; ++i)
    if (info.argb[static_cast<std::size_t>(i)] == 0xFFFFFFFFu) (i < 128 ? whiteTop : whiteBottom)++;
  EXPECT_GT(whiteTop, 0);
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
