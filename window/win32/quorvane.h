// The calculator's one window, Quorvane, as a native Win32 window over the shared reactions.
//
// It decides nothing itself: it reports what Win32 saw in the reactions' words (reactions.h)
// and carries out what they ask as a WindowView. Its parts: the window procedure and the view
// (quorvane.cpp), creating the controls (controls.cpp), the controls' subclass, where keys,
// presses, texts and the focus leaving are seen (box.cpp), the layout at the monitor's DPI
// (layout.cpp), colours and pictures (colours.cpp), and the message loop (message_loop.cpp).
#pragma once

// The subclass calls need windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <array>
#include <string>
#include <string_view>

#include "accessibility.h"
#include "layout.h"
#include "reactions.h"

namespace quorvane::win32 {

class Quorvane : private WindowView {
  public:
    // Registers the window class and creates the window, laid out and computed, not yet shown.
    // What screen readers are told goes through `readers`, which outlives the window.
    static Quorvane* Create(HINSTANCE instance, ScreenReaders& readers);
    HWND Handle() const { return window_; }
    // Shows the window as `how` says, the focus in the first box.
    void Show(int how);
    // The control of a row of the table; null for the line, which the window draws.
    HWND Control(const ControlEntry& entry) const { return controls_[RowIndex(entry)]; }

  private:
    Quorvane(HWND window, ScreenReaders& readers);
    ~Quorvane();

    // WindowView.
    std::string Text(const ControlEntry& control) override;
    void SetText(const ControlEntry& control, std::string_view text) override;
    LiveState Checked(const ControlEntry& control) override;
    void Recolour(const ControlEntry& control) override;
    bool HasFocus(const ControlEntry& control) override;
    void Focus(const ControlEntry& control) override;
    void ScheduleDelivery() override;
    void Say(const std::string& words, bool urgent) override;
    void TellFocus(const ControlEntry& control) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(int id, int code);
    void OnActivate(bool active);
    void OnPress(UINT message);
    void OnDestroy();
    const ControlEntry* EntryOf(HWND control) const;  // null for none of ours

    // Creating the controls (controls.cpp).
    void CreateControls();
    HWND CreateControl(const ControlEntry& entry);

    // The controls' subclass (box.cpp).
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
    LRESULT OnBoxMessage(HWND box, const ControlEntry& entry, UINT message, WPARAM wParam,
                         LPARAM lParam);
    LRESULT OnKey(HWND box, const ControlEntry& entry, UINT message, WPARAM wParam, LPARAM lParam);
    bool CarryOut(HWND box, const ControlEntry& entry, Key key);
    void OnTextChanged(const ControlEntry& entry);

    // Layout and DPI (layout.cpp).
    void LayOut(UINT dpi, const RECT* suggested = nullptr);
    void Place(const RECT& workArea, const RECT* suggested);
    SIZE SizeAt(UINT dpi) const;
    void OnSettingChange(WPARAM what, LPARAM area);
    void SetIcons();

    // Colours (colours.cpp).
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnColoursChanged();
    void DrawPictures();
    void OnPaint();

    HWND window_;
    ScreenReaders& readers_;
    Reactions reactions_;
    Annotations annotations_;
    Layout layout_;
    HFONT font_ = nullptr;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    std::array<HWND, kControls.size()> controls_{};       // by row
    std::array<std::wstring, kControls.size()> texts_{};  // by row: to tell a real change of text
    bool settingText_ = false;    // while the window sets a box's text itself
    bool keypadDecimal_ = false;  // the keypad's decimal key is typing its character
    bool swallowChar_ = false;    // the character of a key the reactions took
    HWND focusWhenInactive_ = nullptr;
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
