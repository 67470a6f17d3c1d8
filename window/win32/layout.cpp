// The table laid out at a monitor's DPI in the message font for it, and the window placed and
// sized by it.
#include "layout.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>

#include "control_table.h"
#include "dpi.h"
#include "quorvane.h"
#include "rules.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

constexpr int kIcon = 1;

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

// How many times the table's size this control needs in `dc`'s font. FactorFor's rule, in device
// pixels: measured in 96-dpi pixels, its rounding would lay the window out a few pixels larger
// at 144 dpi than it has always been.
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

double NeededFactor(const LOGFONTW& font, UINT dpi) {
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

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
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
        fits, [&] { return NeededFactor(layout.font, dpi); },
        [&] {
            FontSize size{.pixels = int(std::abs(height))};
            if (!ShrinkFont(size, dpi)) return false;
            height = height < 0 ? -size.pixels : size.pixels;
            return true;
        });
    return layout;
}

// The table at `dpi`, in the message font for it, fitted to the monitor's work area; at the
// place Windows suggests on a change of DPI, else where the window is.
void Quorvane::LayOut(UINT dpi, const RECT* suggested) {
    const RECT workArea =
        WorkAreaOf(suggested ? MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST)
                             : MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST));
    layout_ = LayOutFor(dpi, workArea);
    HFONT old = std::exchange(font_, CreateFontIndirectW(&layout_.font));
    for (const ControlEntry& entry : kControls) {
        if (!Control(entry)) continue;
        SendMessageW(Control(entry), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        SetWindowPos(Control(entry), nullptr, layout_.Px(entry.left), layout_.Px(entry.top),
                     layout_.Px(entry.width), layout_.Px(entry.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (old) DeleteObject(old);
    DrawPictures();
    Place(workArea, suggested);
    InvalidateRect(window_, nullptr, TRUE);
}

// Exactly where Windows suggests after a change of DPI, so that a window dragged between
// monitors neither jumps nor flips back; else kept within the work area. A minimised window
// keeps its place and gets its new size when it is restored.
void Quorvane::Place(const RECT& workArea, const RECT* suggested) {
    const SIZE size = layout_.WindowSize();
    if (IsIconic(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + size.cx;
        normal.bottom = normal.top + size.cy;
        SetWindowPlacement(window_, &placement);
        return;
    }
    RECT now{};
    GetWindowRect(window_, &now);
    const RECT& at = suggested ? *suggested : now;
    const LONG x =
        suggested ? at.left : PlaceWithin(at.left, workArea.left, workArea.right, size.cx);
    const LONG y = suggested ? at.top : PlaceWithin(at.top, workArea.top, workArea.bottom, size.cy);
    SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's outer size at `dpi`, for Windows to suggest the rectangle of a DPI change.
SIZE Quorvane::SizeAt(UINT dpi) const {
    return LayOutFor(dpi, WorkAreaOf(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)))
        .WindowSize();
}

// Only the changes that touch the layout or the colours: Windows sends this for many others.
void Quorvane::OnSettingChange(WPARAM what, LPARAM area) {
    const auto* name = reinterpret_cast<const wchar_t*>(area);
    if (what == SPI_SETNONCLIENTMETRICS || what == SPI_SETWORKAREA) LayOut(layout_.dpi);
    if (what == SPI_SETHIGHCONTRAST || (name && std::wcscmp(name, L"ImmersiveColorSet") == 0))
        OnColoursChanged();
}

// The icons in the sizes of the window's DPI: the title bar's and the taskbar's.
void Quorvane::SetIcons() {
    const auto load = [this](int metric) {
        const int size = SystemMetricFor(metric, layout_.dpi);
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon),
                                             IMAGE_ICON, size, size, 0));
    };
    const HICON big = load(SM_CXICON), small = load(SM_CXSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    for (HICON old : {bigIcon_, smallIcon_})
        if (old) DestroyIcon(old);
    bigIcon_ = big, smallIcon_ = small;
}

LONG PlaceWithin(LONG at, LONG low, LONG high, LONG size) {
    return high - size < low ? low : std::clamp(at, low, high - size);
}

}  // namespace quorvane::win32
