#include "colour_rule.h"

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

constexpr double kReadable = 4.5;  // WCAG AA for text

// x^2.4 for x in (0, 1]: x^2 times the fifth root of x^2, found by Newton's method from above,
// where each step lowers it until it can no longer. The browser's module then carries no pow,
// whose tables outweigh this whole rule.
double PowerTwoPointFour(double x) {
    const double square = x * x;
    double root = 1;
    for (;;) {
        const double fourth = root * root * root * root;
        const double next = root - (fourth * root - square) / (5 * fourth);
        if (!(next < root)) return square * root;
        root = next;
    }
}

double Luminance(Rgb colour) {
    const auto linear = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : PowerTwoPointFour((v + 0.055) / 1.055);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

struct Hsl {
    double hue = 0;                        // 0 to 6, a sixth of the circle each
    double saturation = 0, lightness = 0;  // 0 to 1
};

Hsl ToHsl(Rgb rgb) {
    const double r = rgb.red / 255.0, g = rgb.green / 255.0, b = rgb.blue / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b}), chroma = high - low;
    Hsl hsl{.lightness = (high + low) / 2};
    if (chroma == 0) return hsl;
    hsl.saturation = chroma / (1 - std::abs(2 * hsl.lightness - 1));
    hsl.hue = high == r   ? std::fmod((g - b) / chroma + 6, 6)
              : high == g ? (b - r) / chroma + 2
                          : (r - g) / chroma + 4;
    return hsl;
}

Rgb FromHsl(Hsl hsl) {
    const double chroma = (1 - std::abs(2 * hsl.lightness - 1)) * hsl.saturation;
    const double x = chroma * (1 - std::abs(std::fmod(hsl.hue, 2) - 1));
    const double m = hsl.lightness - chroma / 2;
    const int sixth = int(hsl.hue) % 6;
    const double rgb[6][3] = {{chroma, x, 0}, {x, chroma, 0}, {0, chroma, x},
                              {0, x, chroma}, {x, 0, chroma}, {chroma, 0, x}};
    const auto byte = [m](double v) { return int(std::lround((v + m) * 255)); };
    return {byte(rgb[sixth][0]), byte(rgb[sixth][1]), byte(rgb[sixth][2])};
}

bool LightWithWhiteFields(Rgb face, Rgb field) {
    return Luminance(face) > 0.8 && Luminance(field) > 0.8;
}

}  // namespace

double Contrast(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb Legible(Rgb wanted, Rgb background) {
    if (Contrast(wanted, background) >= kReadable) return wanted;
    const Hsl hsl = ToHsl(wanted);
    const int lightness = int(std::lround(hsl.lightness * 255));
    // Lightness in steps of 1/255 either way from the wanted one; black and white are the ends,
    // and one of them always reaches 4.5:1.
    for (int step = 1; step <= 255; ++step) {
        for (const int sign : {1, -1}) {
            const int candidateLightness = lightness + sign * step;
            if (candidateLightness < 0 || candidateLightness > 255) continue;
            Hsl candidate = hsl;
            candidate.lightness = candidateLightness / 255.0;
            const Rgb rgb = FromHsl(candidate);
            if (Contrast(rgb, background) >= kReadable) return rgb;
        }
    }
    const Rgb white{255, 255, 255}, black{};
    return Contrast(white, background) > Contrast(black, background) ? white : black;
}

Ink FormulaInk(Rgb face, Rgb field, Rgb text) {
    return LightWithWhiteFields(face, field) ? kBlackOnWhite : Ink{text, face};
}

}  // namespace quorvane
