// The formula and the logo, drawn from the bitmaps the build rendered from their SVGs.
#pragma once

#include <windows.h>

#include <optional>

#include "colour_rule.h"

namespace quorvane::win32 {

// The resource ids of each picture's first bitmap; its larger ones follow.
inline constexpr int kFormulaBitmaps = 300;
inline constexpr int kLogoBitmaps = 310;

// The picture at `size` device pixels, from the smallest of its bitmaps at least that large
// (else the largest), as a 24-bit bitmap: sharp from 100 % to 300 %. Grey bitmaps are ink
// coverage, drawn in `ink`; colour bitmaps keep their colours. Null when none is embedded.
HBITMAP DrawPicture(int firstId, SIZE size, const Ink& ink);

}  // namespace quorvane::win32
