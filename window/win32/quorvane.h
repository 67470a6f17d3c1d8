// The calculator's one window, Quorvane, as a native Win32 window over the core.
//
// The path of an edit, as in the Qt window: typing changes a box (EN_CHANGE, where the text
// really differs) and turns it blue for good; Enter in an input box (its WM_CHAR 13, let through
// to the box) or the focus moving from it to another control of this window (its WM_KILLFOCUS)
// finishes the input: CheckEfficiencyLimit for E, then LiveRecalc, then the result announced to
// screen readers once the focus has settled. Power hands the window, as a CalculatorView, to the
// core's Power. The controls come from the shared control table, laid out at the monitor's DPI.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout.h"
#include "number_text.h"
#include "power.h"

namespace quorvane {
struct ControlEntry;
}

namespace quorvane::win32 {

class Quorvane : private CalculatorView {
  public:
    // Registers the window class and creates the window, laid out and computed, not yet shown.
    static Quorvane* Create(HINSTANCE instance);
    HWND Handle() const { return window_; }

    // Computes the power from the four boxes and shows it; empties the result box on failure.
    std::optional<double> Power();

    // For tests and the message loop: a control by its table name, the layout in force, and the
    // last words given to screen readers.
    HWND Control(std::string_view name) const;
    const Layout& CurrentLayout() const { return layout_; }
    const std::wstring& LastAnnouncement() const { return lastAnnouncement_; }

  private:
    explicit Quorvane(HWND window);

    // CalculatorView, for the core's Power.
    std::string InputText(Input input) override;
    void SetPowerText(std::string_view text) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    // Building the window from the control table.
    void CreateControls();
    HWND CreateControl(const ControlEntry& entry);
    void LayOut(UINT dpi, const RECT* suggested = nullptr);
    void DrawPictures();

    // Handlers.
    void OnCommand(int id, int code);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnColoursChanged();
    void OnActivate(bool active);
    void OnPaint();
    LRESULT OnBoxKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    void OnBoxTextChanged(std::size_t input);

    // The reactions.
    void InputFinished(HWND box, bool byEnter);
    void LiveRecalc();
    bool CheckEfficiencyLimit();  // true when it refused the efficiency
    void AnnouncePower(bool efficiencyRefused = false);
    void OnAnnounce();

    std::optional<std::size_t> InputOf(HWND box) const;
    const ControlEntry* EntryOf(HWND control) const;  // null for none of ours

    HWND window_;
    NumberFormat format_;
    Layout layout_;
    HFONT font_ = nullptr;
    std::vector<HWND> controls_;               // by the table's rows; null for the line
    std::array<HWND, 4> inputBoxes_{};         // by Input
    std::array<std::wstring, 4> lastTexts_{};  // by Input: to tell a real change of text
    std::array<bool, 4> edited_{};             // by Input: changed, so blue
    bool movingFocus_ = false;                 // while the window moves the focus itself
    bool keypadDecimal_ = false;               // the keypad's decimal key is being typed
    HWND focusWhenInactive_ = nullptr;
    std::wstring pendingAnnouncement_, lastAnnouncement_;
    bool pendingRefusal_ = false;

    HWND H = nullptr, Q = nullptr, D = nullptr, E = nullptr, P = nullptr;
    HWND LiveCalc = nullptr, Command1 = nullptr;
};

}  // namespace quorvane::win32
