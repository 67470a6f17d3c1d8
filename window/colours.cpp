#include "colours.h"

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

constexpr double kReadable = 4.5;  // WCAG AA for text

double Luminance(const QColor& colour) {
    const auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The face and the fields as light as a standard dialog's: the colour words were chosen there.
bool LightWithWhiteFields(const QPalette& palette) {
    return Luminance(palette.color(QPalette::Window)) > 0.8 &&
           Luminance(palette.color(QPalette::Base)) > 0.8;
}

}  // namespace

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Legible(const QColor& wanted, const QColor& background, const QPalette& palette) {
    if (LightWithWhiteFields(palette) || Contrast(wanted, background) >= kReadable) return wanted;
    const QColor hsl = wanted.toHsl();
    // Lightness in steps of 1/255 either way from the wanted one; black and white are the ends,
    // and one of them always reaches 4.5:1.
    for (int step = 1; step <= 255; ++step) {
        for (const int sign : {1, -1}) {
            const int lightness = hsl.lightness() + sign * step;
            if (lightness < 0 || lightness > 255) continue;
            const QColor candidate = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
            if (Contrast(candidate, background) >= kReadable) return candidate.toRgb();
        }
    }
    return Contrast(Qt::white, background) > Contrast(Qt::black, background) ? QColor(Qt::white)
                                                                             : QColor(Qt::black);
}

}  // namespace quorvane
