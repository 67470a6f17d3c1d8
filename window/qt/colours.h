// The readable-colour rule (colour_rule.h) on Qt's colours and palettes.
#pragma once

#include <QColor>
#include <QPalette>

#include "colour_rule.h"

namespace quorvane {

// The contrast ratio of two colours as WCAG defines it, from 1 to 21.
double Contrast(const QColor& a, const QColor& b);

// Whether the palette is a light one with white fields, where the colour words are drawn as
// they are.
bool LightWithWhiteFields(const QPalette& palette);

// What the formula's ink and paper are drawn in on the palette.
Ink FormulaInk(const QPalette& palette);

// The colour to draw text meant to be `wanted` on `background`, in `palette`: Legible, with the
// palette's window face and fields telling a light scheme.
QColor Legible(const QColor& wanted, const QColor& background, const QPalette& palette);

}  // namespace quorvane
