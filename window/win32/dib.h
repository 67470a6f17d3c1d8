// The formula and the logo, drawn from the bitmaps the build rendered from their SVGs: chosen
// and inked by the shared rules (pictures.h), wrapped and stretched here.
#pragma once

#include <windows.h>

#include <optional>

#include "pictures.h"

namespace quorvane::win32 {

// The resource ids of each picture's first bitmap; its larger ones follow.
inline constexpr int kFormulaBitmaps = 300;
inline constexpr int kLogoBitmaps = 310;

// The picture at `size` device pixels, from the bitmap ChooseBitmap picks, as a 24-bit bitmap.
// Grey bitmaps are ink coverage, drawn in `ink`; colour bitmaps keep their colours. Null when
// none is embedded.
HBITMAP DrawPicture(int firstId, SIZE size, const Ink& ink);

}  // namespace quorvane::win32
