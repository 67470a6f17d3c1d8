// The program's start: the window, then its message loop.
// The other Windows headers need windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include "dpi.h"
#include "quorvane.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    quorvane::win32::SearchSystemDllsOnly();
    // For the screen readers' annotations; released only where it was had.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    quorvane::win32::ScreenReaders readers;
    int status = 1;
    if (auto* window = quorvane::win32::Quorvane::Create(instance, readers)) {
        HWND handle = window->Handle();
        window->Show(show);
        status = quorvane::win32::RunMessageLoop(handle);
        if (IsWindow(handle)) DestroyWindow(handle);  // ended by a failure, not by closing
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
