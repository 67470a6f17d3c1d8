// The per-monitor DPI calls of Windows 10 1607 and later (and Windows 8.1's monitor DPI), looked
// up at run time with the system DPI's fallbacks, so that one executable starts on Windows 7 SP1
// and later. And the DLLs that the program loads itself, from System32 only.
#pragma once

#include <windows.h>

namespace quorvane::win32 {

// The DPI a window is drawn at: GetDpiForWindow, else its monitor's (GetDpiForMonitor, Windows
// 8.1), else the system's.
UINT DpiOfWindow(HWND window);
// The monitor's effective DPI where shcore.dll has GetDpiForMonitor; else 0.
UINT MonitorDpi(HMONITOR monitor);
// The system's metrics and message font at `dpi`.
NONCLIENTMETRICSW NonClientMetricsFor(UINT dpi);
int SystemMetricFor(int index, UINT dpi);
// The outer rectangle of a window whose client area is `rect`, at `dpi`.
void AdjustWindowRectFor(RECT* rect, DWORD style, DWORD exStyle, UINT dpi);

// DLLs are found in System32 only, not in the program's own folder (say, Downloads), where one
// of the same name could lie in wait. Once, at start.
void SearchSystemDllsOnly();
// A system DLL, from System32 only.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of `module` that older Windows lack, or null there (or where `module` is).
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

}  // namespace quorvane::win32
