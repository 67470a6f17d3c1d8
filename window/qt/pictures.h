// The formula, the logo and the window's icon, from the bitmaps the build draws from their SVGs:
// nothing is parsed or decoded at run time, and no image plugin is loaded.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include "colour_rule.h"

namespace quorvane {

// The picture called `name` ("formula", "logo") at `size` device pixels, from the smallest of its
// bitmaps that covers it (else the largest): sharp from 100 % to 300 %. The formula is ink
// coverage, drawn in `ink`; the logo keeps its colours. Null where none is embedded.
QImage DrawPicture(const QString& name, QSize size, const Ink& ink);

// The application's icon, 16 to 64 pixels.
QIcon ApplicationIcon();

}  // namespace quorvane
