// The control table laid out at a monitor's DPI, in the system's message font for that DPI; the
// window is placed and sized by it (layout.cpp).
#pragma once

#include <windows.h>

#include <cmath>

namespace quorvane::win32 {

// The window's styles: a fixed border with caption, system menu and minimize box.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct Layout {
    UINT dpi = 96;
    LOGFONTW font{};      // the message font, or a smaller one where that would not fit
    double factor = 1.0;  // times 1440/dpi twips a pixel, as the font needs

    // Twips to device pixels, rounded to the nearest: 6990 -> 466 at 96 dpi and factor 1.
    int Px(int twips) const { return int(std::lround(twips * factor * dpi / 1440.0)); }
    // The window's outer size for the table's client area.
    SIZE WindowSize() const;
};

// The layout at `dpi`: never below 1440/dpi twips a pixel, raised until every caption fits its
// control with a few pixels to spare and every box its text; shrinking the font, down to a
// smallest readable size, where the window would not fit `workArea`, and never larger than it.
Layout LayOutFor(UINT dpi, const RECT& workArea);

}  // namespace quorvane::win32
