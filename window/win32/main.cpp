#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "quorvane.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the screen readers' annotations
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    quorvane::win32::Quorvane* window = quorvane::win32::Quorvane::Create(instance);
    if (!window) return 1;
    HWND handle = window->Handle();
    ShowWindow(handle, show);
    SetFocus(window->Control("H"));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(handle, &message)) continue;  // Tab, access keys
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoUninitialize();
    return int(message.wParam);
}
