// The calculator's one window, Quorvane, as a native Win32 window over the core.
//
// What each key, click and focus change does is decided in the shared reactions (reactions.h);
// this window turns Win32's messages into their calls and carries out what they ask as a
// WindowView: EN_CHANGE where the text really differs (TextChanged), Enter in an input box (its
// WM_CHAR 13, let through to the box: EnterTyped), the focus moving from it to another control
// of this window (its WM_KILLFOCUS: FocusLeft), a text set from outside, as a screen reader does
// (WM_SETTEXT: TextArriving), and the two buttons' BN_CLICKED. What screen readers are told is
// handed out from a posted message, once the focus events are out. The controls come from the
// shared control table, laid out at the monitor's DPI.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "layout.h"
#include "reactions.h"

namespace quorvane {
struct ControlEntry;
}

namespace quorvane::win32 {

class Quorvane : private WindowView {
  public:
    // Registers the window class and creates the window, laid out and computed, not yet shown.
    static Quorvane* Create(HINSTANCE instance);
    HWND Handle() const { return window_; }
    // Shows the window as `how` says, the focus in the first box.
    void Show(int how);

    // Computes the power from the four boxes and shows it; empties the result box on failure.
    std::optional<double> Power();

    // For tests and the message loop: a control by its table name, the layout in force, and
    // every message given to screen readers, in order ("focus E" where the focus was told).
    HWND Control(std::string_view name) const;
    const Layout& CurrentLayout() const { return layout_; }
    const std::vector<std::wstring>& Announced() const { return announced_; }

  private:
    explicit Quorvane(HWND window);

    // WindowView, for the reactions and the core's Power.
    std::string InputText(Input input) override;
    void SetPowerText(std::string_view text) override;
    std::string PowerText() override;
    LiveState LiveCalcState() override;
    void EmptyInput(Input input) override;
    void ShowEdited(Input input) override;
    bool HasFocus(Input input) override;
    void FocusInput(Input input) override;
    void ScheduleDelivery() override;
    void Say(const std::string& words, bool urgent) override;
    void TellFocus(Input input) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

    // Building the window from the control table.
    void CreateControls();
    HWND CreateControl(const ControlEntry& entry);
    void LayOut(UINT dpi, const RECT* suggested = nullptr);
    void Place(const RECT& workArea, const RECT* suggested);
    void DrawPictures();
    void SetIcons();

    // Handlers.
    void OnCreate();
    void OnCommand(int id, int code);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnSettingChange(WPARAM what, LPARAM area);
    SIZE SizeAt(UINT dpi) const;
    void OnColoursChanged();
    void OnActivate(bool active);
    void OnPaint();
    void OnDestroy();
    LRESULT OnBoxKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    void OnBoxTextChanged(Input input);
    void DeleteWord(HWND box, bool towardStart);
    void CopyResult();

    std::optional<Input> InputOf(HWND box) const;
    const ControlEntry* EntryOf(HWND control) const;  // null for none of ours
    HWND Box(Input input) const { return inputBoxes_[std::size_t(input)]; }

    HWND window_;
    Reactions reactions_;
    Annotations annotations_;
    Layout layout_;
    HFONT font_ = nullptr;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    std::vector<HWND> controls_;               // by the table's rows; null for the line
    std::array<HWND, 4> inputBoxes_{};         // by Input
    std::array<std::wstring, 4> lastTexts_{};  // by Input: to tell a real change of text
    bool settingText_ = false;                 // while the window sets a box's text itself
    bool keypadDecimal_ = false;               // the keypad's decimal key is being typed
    HWND focusWhenInactive_ = nullptr;
    std::vector<std::wstring> announced_;

    HWND H = nullptr, Q = nullptr, D = nullptr, E = nullptr, P = nullptr;
    HWND LiveCalc = nullptr, Command1 = nullptr;
};

// The first pixel of a window `size` long placed at `at` within [low, high): where it fits, as
// near to `at` as it can; where it does not, at `low`, so that its title bar stays reachable.
LONG PlaceWithin(LONG at, LONG low, LONG high, LONG size);

// Hands one message to the window: the dialog manager first (Tab, access keys), then the usual
// translation and dispatch. The program's loop runs on it, and so do the tests.
void Dispatch(HWND window, MSG& message);
// Runs the program's loop until WM_QUIT; its exit code.
int RunMessageLoop(HWND window);
// What is queued now, for tests.
void DispatchPending(HWND window);

// Runs `call` so that no exception crosses into Windows' code, where unwinding is undefined: one
// that would ends the program cleanly (WM_QUIT with kFailed) and gives `fallback`.
inline constexpr int kFailed = 1;
template <typename Call>
LRESULT Guarded(Call&& call, LRESULT fallback = 0) noexcept {
    try {
        return call();
    } catch (...) {
        PostQuitMessage(kFailed);
        return fallback;
    }
}

}  // namespace quorvane::win32
