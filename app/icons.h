// The program's twelve own icons: stored inside the program as Windows icon
// files of 318 bytes each (16 x 16 pixels, 16 colours, 1-bit transparency
// mask), back to back, and decoded into pixel images at start.
//
// Decoding is pure (bytes in, pixels out) and never trusts its input: a file
// that is short, names another size or depth, or points outside itself is
// refused with false and leaves the output untouched.
#pragma once

#include <span>
#include <vector>

#include "platform/ui.h"
#include "state/icon_ids.h"

namespace zl {

inline constexpr int IconFileSize = 318;

// The twelve icon files back to back, in IconId order (built into the program).
std::span<const unsigned char> embeddedIconFiles();

// Decodes one icon file. On success fills `out` and returns true; on any
// malformed input returns false and leaves `out` unchanged.
bool decodeIcon(std::span<const unsigned char> file, IconImage& out);

// Decodes the twelve embedded icons in index order. An icon that fails to
// decode stays fully transparent (the program still starts).
std::vector<IconImage> decodeEmbeddedIcons();

}  // namespace zl
