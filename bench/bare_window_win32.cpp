// The yardstick for the Windows start-up benchmark: a bare Win32 window of the calculator's
// size with the same standard controls and texts, and nothing of its own (no core, pictures,
// layout or accessibility).
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(w, m, wp, lp);
    };
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowW(L"BareWindow", L"Bare Window", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                      CW_USEDEFAULT, 554, 330, nullptr, nullptr, instance, nullptr);
    int y = 0;
    for (const wchar_t* caption :
         {L"Head", L"m", L"Flow", L"m3/hr", L"Fluid Density", L"kg/m3", L"Pump Efficiency", L"%",
          L"Power", L"kW", L"Rev.A", L"By: Kestrin (08-Feb-2012)"})
        CreateWindowW(L"STATIC", caption, WS_CHILD | WS_VISIBLE, 0, y += 20, 100, 18, window,
                      nullptr, instance, nullptr);
    y = 0;
    for (const wchar_t* text : {L"30", L"60", L"997.01", L"70", L"6.983"})
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 150,
                        y += 30, 100, 24, window, nullptr, instance, nullptr);
    CreateWindowW(L"BUTTON", L"Perform Live Calculations", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                  150, 200, 180, 24, window, nullptr, instance, nullptr);
    CreateWindowW(L"BUTTON", L"&Calculate", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 450, 260, 87, 25,
                  window, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
