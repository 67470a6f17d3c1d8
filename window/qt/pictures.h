// The formula, the logo and the window's icon, from the bitmaps the build draws from their SVGs
// (pictures.h beside the window reads, chooses and inks them): here only wrapped and scaled.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include "colour_rule.h"

namespace quorvane {

// The picture called `name` ("formula", "logo") at `size` device pixels: the formula in `ink`,
// the logo in its colours. Null where none is embedded.
QImage DrawPicture(const QString& name, QSize size, const Ink& ink);

// The application's icon, 16 to 64 pixels.
QIcon ApplicationIcon();

}  // namespace quorvane
