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

bool LightWithWhiteFields(const QPalette& palette) {
    return LightWithWhiteFields(ToRgb(palette.color(QPalette::Window)),
                                ToRgb(palette.color(QPalette::Base)));
}

Ink FormulaInk(const QPalette& palette) {
    return FormulaInk(ToRgb(palette.color(QPalette::Window)), ToRgb(palette.color(QPalette::Base)),
                      ToRgb(palette.color(QPalette::WindowText)));
}

QColor Legible(const QColor& wanted, const QColor& background, const QPalette& palette) {
    const Rgb legible = Legible(ToRgb(wanted), ToRgb(background), LightWithWhiteFields(palette));
    return QColor(legible.red, legible.green, legible.blue);
}

}  // namespace quorvane
