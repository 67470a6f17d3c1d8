// The window's colours: each control's text colour as the reactions mean it, made legible on
// the user's scheme; the pictures inked for it; the line in the text colour.
#include <algorithm>
#include <cmath>

#include "colour_rule.h"
#include "dib.h"
#include "quorvane.h"

namespace quorvane::win32 {
namespace {

Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace

// The colour words as near as stays readable on the field or face behind, on every scheme.
LRESULT Quorvane::OnControlColour(HDC dc, HWND control) {
    const ControlEntry* entry = EntryOf(control);
    if (!entry) return 0;  // none of ours: the system's colours
    const int face = entry->kind == ControlKind::TextBox ? COLOR_WINDOW : COLOR_BTNFACE;
    const Rgb background = SystemColour(face);
    const std::optional<std::uint32_t> word = reactions_.Colour(*entry);
    const Rgb text =
        word ? Legible(FromColourWord(*word), background) : SystemColour(COLOR_WINDOWTEXT);
    SetTextColor(dc, ToColourWord(text));  // a COLORREF is the same 0x00BBGGRR word
    SetBkColor(dc, ToColourWord(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
}

void Quorvane::OnColoursChanged() {
    DrawPictures();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The pictures at their frames' device size: the formula black on white in a light scheme,
// else in the window's text colour on its face; the logo in its own colours.
void Quorvane::DrawPictures() {
    const Ink ink = FormulaInk(SystemColour(COLOR_BTNFACE), SystemColour(COLOR_WINDOW),
                               SystemColour(COLOR_WINDOWTEXT));
    for (const ControlEntry& entry : kControls) {
        if (entry.kind != ControlKind::Picture) continue;
        const int first = entry.stretched ? kLogoBitmaps : kFormulaBitmaps;
        HBITMAP picture =
            DrawPicture(first, {layout_.Px(entry.width), layout_.Px(entry.height)}, ink);
        auto old = reinterpret_cast<HBITMAP>(SendMessageW(
            Control(entry), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        if (old) DeleteObject(old);
    }
}

// The line: one pixel at 96 dpi, as many whole device pixels at higher ones, in the text colour.
void Quorvane::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const ControlEntry& line = Row("Line1");
    const int thickness = std::max(1, int(std::lround(layout_.dpi / 96.0)));
    const RECT rect{layout_.Px(line.left), layout_.Px(line.top), layout_.Px(line.x2),
                    layout_.Px(line.top) + thickness};
    FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWTEXT));
    EndPaint(window_, &paint);
}

}  // namespace quorvane::win32
