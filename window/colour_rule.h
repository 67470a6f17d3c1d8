// Text colours that stay readable on the user's own colours, on plain RGB: both windows apply
// this one rule to their toolkit's colours.
#pragma once

#include <cstdint>

namespace quorvane {

struct Rgb {
    int red = 0, green = 0, blue = 0;  // 0 to 255
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A 0x00BBGGRR colour word, red in the low byte.
constexpr Rgb FromColourWord(std::uint32_t bgr) {
    return {int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)};
}
constexpr std::uint32_t ToColourWord(Rgb rgb) {
    return std::uint32_t(rgb.red) | std::uint32_t(rgb.green) << 8 | std::uint32_t(rgb.blue) << 16;
}

// The contrast ratio of two colours as WCAG defines it, from 1 to 21.
double Contrast(Rgb a, Rgb b);

// The colour to draw text meant to be `wanted` on `background`, on every scheme, the light one
// too: `wanted` where it has 4.5:1 against the background (WCAG AA), else the colour of the same
// hue and saturation nearest to it in lightness that has (red on white: #EE0000).
Rgb Legible(Rgb wanted, Rgb background);

// What the formula's black ink and white paper are drawn in: themselves in a light scheme with
// white fields (face and fields both of luminance above 0.8); in any other, the window's text
// colour on its face.
struct Ink {
    Rgb ink, paper;
    friend bool operator==(const Ink&, const Ink&) = default;
};
inline constexpr Ink kBlackOnWhite{{0, 0, 0}, {255, 255, 255}};
Ink FormulaInk(Rgb face, Rgb field, Rgb text);

}  // namespace quorvane
