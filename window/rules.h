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

// Whether a click on `control` (null: the window's face) may take the focus. A click anywhere
// else leaves it in the box, as on a desktop window: a caption, a unit, a picture, the line.
bool TakesFocus(const ControlEntry* control);

// Every row in the order its control is created: the focus order, each box after its caption
// (screen readers name a box by the label just before it), then the rest.
std::vector<const ControlEntry*> CreationOrder();

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

// How many times 15 twips to a pixel a control needs for its toolkit's size hint: a text box
// its height; a caption its width and height, with a few pixels to spare beside its text.
double FactorFor(const ControlEntry& entry, int hintWidth, int hintHeight);

// A font's size: in points, or where it is given in pixels, in pixels.
struct FontSize {
    double points = 0;  // 0 where the font is given in pixels
    int pixels = 0;
};
// The next smaller size, half a point or a pixel, down to the smallest readable at `dpi`
// logical dots per inch: false once there is none smaller.
bool ShrinkFont(FontSize& size, double dpi);

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
