#include "pictures.h"

namespace quorvane {
namespace {

std::uint8_t Mix(int paper, int ink, int coverage) {
    // Rounded to the nearest; both weights are positive, so full coverage is the ink itself.
    return std::uint8_t((paper * (255 - coverage) + ink * coverage + 127) / 255);
}

}  // namespace

std::optional<Bitmap> ReadBitmap(std::span<const std::uint8_t> data) {
    if (data.size() < 4) return std::nullopt;
    Bitmap bitmap{.width = data[0] | data[1] << 8, .height = data[2] | data[3] << 8};
    const std::size_t count = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    if (count == 0 || (data.size() - 4) % count != 0) return std::nullopt;
    bitmap.bytesPerPixel = int((data.size() - 4) / count);
    bitmap.pixels = data.data() + 4;
    return bitmap;
}

std::optional<Bitmap> ChooseBitmap(const std::function<std::optional<Bitmap>(int)>& nth,
                                   int width, int height) {
    std::optional<Bitmap> chosen;
    for (int k = 0; auto next = nth(k); ++k) {
        chosen = next;
        if (next->width >= width && next->height >= height) break;
    }
    return chosen;
}

std::vector<std::uint8_t> Inked(const Bitmap& coverage, const Ink& ink) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(std::size_t(coverage.width) * std::size_t(coverage.height) * 3);
    for (std::size_t k = 0; k < std::size_t(coverage.width) * std::size_t(coverage.height); ++k) {
        const int covered = 255 - coverage.pixels[k];
        rgb.push_back(Mix(ink.paper.red, ink.ink.red, covered));
        rgb.push_back(Mix(ink.paper.green, ink.ink.green, covered));
        rgb.push_back(Mix(ink.paper.blue, ink.ink.blue, covered));
    }
    return rgb;
}

}  // namespace quorvane
