// Rules every front end applies to its toolkit: the focus order, the default texts, what a word
// key deletes, and how the window fits its screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control_table.h"
#include "number_text.h"

namespace quorvane {

// The controls that take the focus, in the table's tab order.
std::vector<const ControlEntry*> FocusOrder();

// A box's initial text in the user's notation: the table writes its defaults with a full stop,
// so that they read back as the same numbers in every locale ("997,01" in German).
std::string DefaultText(const ControlEntry& entry, const NumberFormat& format);

// What a word key (Ctrl+Backspace, Ctrl+Delete) deletes in a box, which holds one number: the
// selection where there is one, else everything before or after the cursor. [start, end) in the
// toolkit's own units; start == end deletes nothing.
struct TextSpan {
    int start = 0, end = 0;
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};
TextSpan WordKeyDeletion(int length, int cursor, int selectionStart, int selectionEnd,
                         bool towardStart);

// The smallest font the window shrinks to on a small screen: still readable.
inline constexpr double kSmallestPoints = 7;
// That size in whole pixels at `dpi` logical dots per inch, for a font given in pixels.
int SmallestPixels(double dpi);

// The layout's factor (times 15 twips a pixel at 96 dpi) for a window whose font may shrink: what
// the font needs (`needed`), the font shrunk step by step (`shrink`, false once it is at the
// smallest) while the window would be larger than `fits` allows; and never above `fits`, even at
// the smallest font, so that every control stays on the screen.
double FitToScreen(double fits, const std::function<double()>& needed,
                   const std::function<bool()>& shrink);

// The largest factor at which the table's client area fits `width` x `height` pixels, at 15
// twips a pixel times `pixelsPerPixel` (a monitor's dpi / 96).
double FittingFactor(int width, int height, double pixelsPerPixel = 1.0);

}  // namespace quorvane
