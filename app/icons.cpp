#include "app/icons.h"

namespace zl {

namespace {

std::uint32_t readLe(std::span<const unsigned char> b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

constexpr std::size_t kDirSize = 6 + 16;
constexpr std::size_t kHeaderSize = 40;
constexpr std::size_t kPaletteSize = 16 * 4;
constexpr std::size_t kXorRowBytes = 8;  // 16 pixels at 4 bits
constexpr std::size_t kAndRowBytes = 4;  // 16 bits, padded to 32
constexpr std::size_t kImageBytes = kHeaderSize + kPaletteSize + 16 * (kXorRowBytes + kAndRowBytes);

}  // namespace

bool decodeIcon(std::span<const unsigned char> file, IconImage& out) {
  if (file.size() < kDirSize) return false;
  if (readLe(file, 0, 2) != 0 || readLe(file, 2, 2) != 1 || readLe(file, 4, 2) < 1) return false;
  // The first directory entry describes the image we use.
  if (file[6] != IconSide || file[7] != IconSide) return false;
  const std::uint32_t offset = readLe(file, 18, 4);
  if (offset > file.size() || file.size() - offset < kImageBytes) return false;
  auto image = file.subspan(offset);
  if (readLe(image, 0, 4) != kHeaderSize || readLe(image, 4, 4) != IconSide || readLe(image, 8, 4) != 2 * IconSide ||
      readLe(image, 14, 2) != 4 || readLe(image, 16, 4) != 0)
    return false;

  std::array<std::uint32_t, 16> palette{};
  for (std::size_t i = 0; i < 16; ++i) {
    const std::size_t at = kHeaderSize + 4 * i;  // blue, green, red, reserved
    palette[i] = 0xFF000000u | (std::uint32_t{image[at + 2]} << 16) | (std::uint32_t{image[at + 1]} << 8) | image[at];
  }
  const std::size_t xorAt = kHeaderSize + kPaletteSize;
  const std::size_t andAt = xorAt + 16 * kXorRowBytes;
  IconImage decoded;
  for (int row = 0; row < IconSide; ++row) {
    const std::size_t stored = static_cast<std::size_t>(IconSide - 1 - row);  // bottom-up
    for (int col = 0; col < IconSide; ++col) {
      const unsigned char pair = image[xorAt + stored * kXorRowBytes + static_cast<std::size_t>(col / 2)];
      const unsigned index = (col % 2 == 0) ? (pair >> 4) : (pair & 0x0F);
      const unsigned char maskByte = image[andAt + stored * kAndRowBytes + static_cast<std::size_t>(col / 8)];
      const bool transparent = (maskByte >> (7 - col % 8)) & 1;
      decoded.argb[static_cast<std::size_t>(row * IconSide + col)] = transparent ? 0u : palette[index];
    }
  }
  out = decoded;
  return true;
}

std::vector<IconImage> decodeEmbeddedIcons() {
  std::vector<IconImage> icons(IconCount);
  const auto all = embeddedIconFiles();
  for (std::size_t i = 0; i < icons.size(); ++i) {
    const std::size_t at = i * IconFileSize;
    if (at + IconFileSize <= all.size()) decodeIcon(all.subspan(at, IconFileSize), icons[i]);
  }
  return icons;
}

}  // namespace zl
