// The pictures' bitmaps as the build embeds them, read and inked without any toolkit: each
// front end only wraps the pixels in its own image type.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "colour_rule.h"

namespace quorvane {

// One embedded bitmap: its width and height as two little-endian 16-bit words, then its pixels
// row by row, one byte (grey: ink coverage), three (RGB) or four (RGBA) each.
struct Bitmap {
    int width = 0, height = 0, bytesPerPixel = 0;
    const std::uint8_t* pixels = nullptr;  // where they lie in the program
};

// The bitmap in `data`; none where its size does not match its pixels.
std::optional<Bitmap> ReadBitmap(std::span<const std::uint8_t> data);

// Of a picture's bitmaps, smallest first (`nth` gives none past the last), the first that covers
// `width` x `height` device pixels, else the largest: sharp from 100 % to 300 %.
std::optional<Bitmap> ChooseBitmap(const std::function<std::optional<Bitmap>(int)>& nth,
                                   int width, int height);

// A grey bitmap's coverage drawn in `ink` on its paper, as RGB rows of three bytes a pixel.
std::vector<std::uint8_t> Inked(const Bitmap& coverage, const Ink& ink);

}  // namespace quorvane
