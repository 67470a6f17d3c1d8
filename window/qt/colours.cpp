#include "colours.h"

#include "colour_rule.h"

namespace quorvane {
namespace {

Rgb ToRgb(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}

}  // namespace

double Contrast(const QColor& a, const QColor& b) {
    return Contrast(ToRgb(a), ToRgb(b));
}

QColor Legible(const QColor& wanted, const QColor& background, const QPalette& palette) {
    const bool light = LightWithWhiteFields(ToRgb(palette.color(QPalette::Window)),
                                            ToRgb(palette.color(QPalette::Base)));
    const Rgb legible = Legible(ToRgb(wanted), ToRgb(background), light);
    return QColor(legible.red, legible.green, legible.blue);
}

}  // namespace quorvane
