// A box's positions as screen readers count them: the box counts UTF-16 units, they count code
// points (the shared ReaderIndex), for the one text being queried.
#pragma once

#include <QString>
#include <string_view>

namespace quorvane {

std::u16string_view View(const QString& text);

// The unit where the `points`-th character of `text` starts, and the characters before `units`.
int UnitsOf(const QString& text, int points);
int PointsOf(const QString& text, int units);

}  // namespace quorvane
