#include "layout.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "control_table.h"
#include "dpi.h"
#include "rules.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

// Device pixels of 96-dpi pixels.
int Scaled(int pixels, UINT dpi) {
    return MulDiv(pixels, int(dpi), 96);
}

// What a control needs beside its caption's text: a check box its box, a button its edges.
int CaptionExtra(ControlKind kind, UINT dpi) {
    const int spare = Scaled(3, dpi);
    if (kind == ControlKind::CheckBox)
        return SystemMetricFor(SM_CXMENUCHECK, dpi) + Scaled(6, dpi) + spare;
    if (kind == ControlKind::Button) return Scaled(16, dpi);
    return spare;
}

// How many times the table's size this control needs in `dc`'s font.
double NeedOf(HDC dc, const ControlEntry& entry, const Layout& plain) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const double height = plain.Px(entry.height);
    if (entry.kind == ControlKind::TextBox)
        return (metrics.tmHeight + Scaled(8, plain.dpi)) / height;
    if (entry.kind == ControlKind::Picture || entry.kind == ControlKind::Line) return 1.0;
    const std::wstring text = Widen(entry.text);
    RECT extent{};
    const UINT prefix = entry.kind == ControlKind::Label ? DT_NOPREFIX : 0;
    DrawTextW(dc, text.c_str(), int(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE | prefix);
    const double width = extent.right + CaptionExtra(entry.kind, plain.dpi);
    return std::max(width / plain.Px(entry.width), metrics.tmHeight / height);
}

double FactorFor(const LOGFONTW& font, UINT dpi) {
    const Layout plain{.dpi = dpi};
    HDC dc = GetDC(nullptr);
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    double factor = 1.0;
    for (const ControlEntry& entry : kControls) factor = std::max(factor, NeedOf(dc, entry, plain));
    SelectObject(dc, old);
    DeleteObject(handle);
    ReleaseDC(nullptr, dc);
    return factor;
}

SIZE OuterSize(int width, int height, UINT dpi) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectFor(&rect, kWindowStyle, 0, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

SIZE Layout::WindowSize() const {
    return OuterSize(Px(kClientWidth), Px(kClientHeight), dpi);
}

Layout LayOutFor(UINT dpi, const RECT& workArea) {
    Layout layout{.dpi = dpi, .font = NonClientMetricsFor(dpi).lfMessageFont};
    const SIZE frame = OuterSize(0, 0, dpi);
    const double fits = FittingFactor(workArea.right - workArea.left - frame.cx,
                                      workArea.bottom - workArea.top - frame.cy, dpi / 96.0);
    LONG& height = layout.font.lfHeight;
    layout.factor = FitToScreen(
        fits, [&] { return FactorFor(layout.font, dpi); },
        [&] {
            if (std::abs(height) <= SmallestPixels(dpi)) return false;
            height += height < 0 ? 1 : -1;  // a pixel smaller
            return true;
        });
    return layout;
}

}  // namespace quorvane::win32
