// Text colours that stay readable on the user's own palette.
#pragma once

#include <QColor>
#include <QPalette>

namespace quorvane {

// The contrast ratio of two colours as WCAG defines it, from 1 to 21.
double Contrast(const QColor& a, const QColor& b);

// The colour to draw text meant to be `wanted` on `background`, in `palette`. On a light palette
// with white fields, `wanted` itself. Otherwise `wanted` where it has 4.5:1 against the
// background (WCAG AA), else the colour of the same hue and saturation nearest to it in
// lightness that has.
QColor Legible(const QColor& wanted, const QColor& background, const QPalette& palette);

}  // namespace quorvane
