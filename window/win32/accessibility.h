// What Windows screen readers get beyond the standard controls' own accessibility.
#pragma once

#include <windows.h>

#include <string_view>

namespace quorvane {
struct ControlEntry;
}

namespace quorvane::win32 {

// The control's name and description (a box's unit) from its row, through Active
// Accessibility's annotations; the standard proxies of UI Automation read them too.
void Describe(HWND control, const ControlEntry& entry);

// Has screen readers speak `text` wherever the focus is: UI Automation's notification, where
// Windows has it (Windows 10 1709 on; not Wine 8). False where it has not.
bool Announce(HWND window, std::wstring_view text);

// Tells screen readers again that `control` has the focus.
void TellFocus(HWND control);

}  // namespace quorvane::win32
