#include "dpi.h"

#include <string>

namespace quorvane::win32 {
namespace {

HMODULE User32() {
    return GetModuleHandleW(L"user32.dll");
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 96;
}

}  // namespace

UINT MonitorDpi(HMONITOR monitor) {
    static const auto call = Lookup<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(
        LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0, y = 0;
    return call && SUCCEEDED(call(monitor, kEffectiveDpi, &x, &y)) ? y : 0;
}

UINT DpiOfWindow(HWND window) {
    static const auto call = Lookup<UINT(WINAPI*)(HWND)>(User32(), "GetDpiForWindow");
    if (const UINT dpi = call ? call(window) : 0) return dpi;  // Windows 10 1607 on
    if (const UINT dpi = MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)))
        return dpi;  // Windows 8.1 on
    return SystemDpi();
}

NONCLIENTMETRICSW NonClientMetricsFor(UINT dpi) {
    static const auto call = Lookup<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>(
        User32(), "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (call && call(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics;
    // The system's, at the system DPI: its font scaled to the one asked for.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, int(dpi), int(SystemDpi()));
    return metrics;
}

int SystemMetricFor(int index, UINT dpi) {
    static const auto call = Lookup<int(WINAPI*)(int, UINT)>(User32(), "GetSystemMetricsForDpi");
    return call ? call(index, dpi) : MulDiv(GetSystemMetrics(index), int(dpi), int(SystemDpi()));
}

void AdjustWindowRectFor(RECT* rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto call = Lookup<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        User32(), "AdjustWindowRectExForDpi");
    if (!call || !call(rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

void SearchSystemDllsOnly() {
    // Windows 8 on, and Windows 7 with its 2011 loader update; without it, LoadSystemLibrary
    // still names System32 itself.
    static const auto call =
        Lookup<BOOL(WINAPI*)(DWORD)>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (call) call(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetSystemDirectoryW(path.data(), MAX_PATH));
    if (path.empty()) return nullptr;
    return LoadLibraryExW((path + L'\\' + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace quorvane::win32
