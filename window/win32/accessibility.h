// What Windows screen readers get beyond the standard controls' own accessibility: names and
// descriptions, and what the window tells them.
#pragma once

#include <windows.h>

#include <string_view>

struct IAccPropServices;

namespace quorvane {
struct ControlEntry;
}

namespace quorvane::win32 {

// Each control's name and description (a box's unit) from its row, through Active
// Accessibility's annotations, which the standard proxies of UI Automation read too. Cleared
// from each control as it goes, and the service released with this.
class Annotations {
  public:
    Annotations();  // needs COM on this thread; without it, no annotations
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void Describe(HWND control, const ControlEntry& entry);
    void Clear(HWND control);

  private:
    IAccPropServices* services_ = nullptr;
};

// What the window tells screen readers. A subclass may pass it on elsewhere as well: the window
// takes whichever it is given.
class ScreenReaders {
  public:
    virtual ~ScreenReaders() = default;
    // Speaks `words` wherever the focus is: UI Automation's notification, where Windows has it
    // (Windows 10 1709 on; not Wine 8). An urgent one is spoken whole, whatever follows; others
    // may give way to a newer one.
    virtual void Say(HWND window, std::wstring_view words, bool urgent);
    // Tells screen readers again that `control` has the focus.
    virtual void TellFocus(HWND control);
};

}  // namespace quorvane::win32
