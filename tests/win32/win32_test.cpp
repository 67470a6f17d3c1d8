// The Win32 window in-process, under Wine or Windows: tables of rows, each compared with its
// literal expected value. Usage: win32_tests.exe QUORVANE_EXE [de]  (de: run in a German locale)
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "layout.h"
#include "locale_format.h"
#include "quorvane.h"
#include "text.h"

using namespace quorvane;
using namespace quorvane::win32;

namespace {

int passed = 0, failed = 0;

template <typename T>
std::string Show(const T& value) {
    if constexpr (std::is_same_v<T, std::string>)
        return "\"" + value + "\"";
    else if constexpr (std::is_integral_v<T>)
        return std::to_string(value);
    else
        return "(not shown)";
}

template <typename T>
void Check(const std::string& what, const T& actual, const T& expected) {
    const bool ok = actual == expected;
    (ok ? passed : failed)++;
    if (ok)
        std::printf("ok: %s\n", what.c_str());
    else
        std::printf("FAILED: %s: %s, want %s\n", what.c_str(), Show(actual).c_str(),
                    Show(expected).c_str());
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

std::string Text(HWND control) {
    return Narrow(TextOf(control));
}

// The text colour the window gives `box`, as a 0x00BBGGRR word.
COLORREF TextColour(Quorvane& window, HWND box) {
    HDC dc = GetDC(box);
    SendMessageW(window.Handle(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(box));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(box, dc);
    return colour;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

void LocaleRows() {
    struct Row {
        const wchar_t* grouping;
        int last, middle, leadingMax;
    };
    for (const Row& row : {Row{L"3;0", 3, 3, 3}, Row{L"3;2;0", 3, 2, 2}, Row{L"3", 3, 3, 99},
                           Row{L"", 3, 3, 3}, Row{L"4;0", 4, 4, 4}}) {
        const GroupSizes sizes = GroupSizesOf(row.grouping);
        Check("grouping " + Narrow(row.grouping),
              std::vector{sizes.last, sizes.middle, sizes.leadingMax},
              std::vector{row.last, row.middle, row.leadingMax});
    }
    LocaleNumbers hindi{
        .grouping = L"3;2;0",
        .digitSubstitution = 2,
        .nativeDigits = L"\u0966\u0967\u0968\u0969\u096A\u096B\u096C\u096D\u096E\u096F"};
    Check("native digits when substituted", NumberFormatOf(hindi).zero, U'\u0966');
    hindi.digitSubstitution = 0;  // by context: a number box has none
    Check("Latin digits by context", NumberFormatOf(hindi).zero, U'0');
    Check("an empty positive sign is +", NumberFormatOf(hindi).plus, std::string("+"));
    const LocaleNumbers german{.decimal = L",", .thousand = L"."};
    Check("German writes 1234.5", DoubleToText(1234.5, NumberFormatOf(german)),
          std::string("1234,5"));
}

void LayoutRows() {
    const RECT large{0, 0, 4000, 3000};
    struct Row {
        UINT dpi;
        int atLeast;
    };
    for (const Row row :
         {Row{96, 466}, Row{120, 582}, Row{144, 699}, Row{192, 932}, Row{288, 1398}}) {
        const Layout layout = LayOutFor(row.dpi, large);
        const int width = layout.Px(6990), height = layout.Px(3780);
        Check("width at " + std::to_string(row.dpi) + " dpi", width >= row.atLeast, true);
        Check("proportions at " + std::to_string(row.dpi) + " dpi",
              std::abs(height - width * 3780 / 6990) <= 1, true);
    }
    const RECT laptop{0, 0, 700, 380};  // less than the window needs at 144 dpi
    const SIZE size = LayOutFor(144, laptop).WindowSize();
    Check("never larger than the work area", size.cx <= 700 && size.cy <= 380, true);
}

struct Locale {
    std::string density, power, flow120, decimal;
};

void StartRows(Quorvane& window, const Locale& locale) {
    Check("result at start", Text(window.Control("P")), locale.power);
    Check("density in the locale's notation", Text(window.Control("D")), locale.density);
    Check("focus in H at start", GetFocus(), window.Control("H"));
    Check("H red at start", TextColour(window, window.Control("H")), COLORREF(0x0000FF));
    Check("P purple", TextColour(window, window.Control("P")), COLORREF(0x800080));
    Check("P read-only", (GetWindowLongW(window.Control("P"), GWL_STYLE) & ES_READONLY) != 0, true);
    Check("live calculation checked", SendMessageW(window.Control("LiveCalc"), BM_GETCHECK, 0, 0),
          LRESULT(BST_CHECKED));
    const LONG style = GetWindowLongW(window.Handle(), GWL_STYLE);
    Check("fixed border, no maximize", (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0, true);
    Check("caption", Text(window.Handle()), std::string("Quorvane Calculator"));
}

// Each row acts on the window as a user would, then reads one thing back.
struct Row {
    const char* what;
    std::function<std::string(Quorvane&)> act;
    std::string expected;
};

void Type(HWND box, const wchar_t* text) {
    SetFocus(box);
    SetWindowTextW(box, text);
}

void Enter(HWND box) {
    SendMessageW(box, WM_CHAR, VK_RETURN, 0);
    Pump();
}

std::vector<Row> ReactionRows(const Locale& locale) {
    return {
        {"the same text keeps H red",
         [](Quorvane& w) {
             SetWindowTextW(w.Control("H"), L"30");
             return std::to_string(TextColour(w, w.Control("H")));
         },
         "255"},
        {"a new text turns H blue for good",
         [](Quorvane& w) {
             SetWindowTextW(w.Control("H"), L"31");
             SetWindowTextW(w.Control("H"), L"30");
             return std::to_string(TextColour(w, w.Control("H")));
         },
         "16711680"},
        {"Q 120 and Enter",
         [](Quorvane& w) {
             Type(w.Control("Q"), L"120");
             Enter(w.Control("Q"));
             return Text(w.Control("P"));
         },
         locale.flow120},
        {"announced", [](Quorvane& w) { return Narrow(w.LastAnnouncement()); },
         "Power " + locale.flow120 + " kilowatts"},
        {"Q 60 and leaving it for D",
         [](Quorvane& w) {
             Type(w.Control("Q"), L"60");
             SetFocus(w.Control("D"));
             Pump();
             return Text(w.Control("P"));
         },
         locale.power},
        {"E 150 and Enter empties E",
         [](Quorvane& w) {
             Type(w.Control("E"), L"150");
             Enter(w.Control("E"));
             return Text(w.Control("E")) + "|" + Text(w.Control("P"));
         },
         "|"},
        {"the refusal announced", [](Quorvane& w) { return Narrow(w.LastAnnouncement()); },
         "Pump Efficiency above 100 refused. Power empty. The cursor is in Pump Efficiency, now "
         "empty."},
        {"E 150 and a click on Calculate: the focus back in E",
         [](Quorvane& w) {
             Type(w.Control("E"), L"150");
             SetFocus(w.Control("Command1"));
             return std::string(GetFocus() == w.Control("E") ? "E" : "elsewhere");
         },
         "E"},
        {"Enter in a box with live calculation off empties P",
         [](Quorvane& w) {
             Type(w.Control("E"), L"70");
             SendMessageW(w.Control("LiveCalc"), BM_CLICK, 0, 0);
             w.Power();
             Enter(w.Control("E"));
             return Text(w.Control("P"));
         },
         ""},
        {"Calculate computes with live calculation off",
         [](Quorvane& w) {
             SendMessageW(w.Control("Command1"), BM_CLICK, 0, 0);
             return Text(w.Control("P"));
         },
         locale.power},
        {"the keypad's decimal key types the locale's separator",
         [](Quorvane& w) {
             Type(w.Control("H"), L"");
             SendMessageW(w.Control("H"), WM_KEYDOWN, VK_DECIMAL, 0);
             SendMessageW(w.Control("H"), WM_CHAR, L'.', 0);
             return Text(w.Control("H"));
         },
         locale.decimal},
        {"a double-click selects the whole number",
         [](Quorvane& w) {
             Type(w.Control("H"), L"-6.5E+3");
             SendMessageW(w.Control("H"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 5));
             DWORD start = 0, end = 0;
             SendMessageW(w.Control("H"), EM_GETSEL, WPARAM(&start), LPARAM(&end));
             SendMessageW(w.Control("H"), WM_LBUTTONUP, 0, MAKELPARAM(12, 5));
             return std::to_string(start) + ".." + std::to_string(end);
         },
         "0..7"},
    };
}

std::vector<Row> SystemRows() {
    return {
        {"WM_DPICHANGED lays the window out at the new DPI",
         [](Quorvane& w) {
             RECT suggested{10, 10, 900, 500};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
             const SIZE size = ClientSize(w.Handle());
             return std::to_string(w.CurrentLayout().dpi) + " " +
                    std::to_string(size.cx == w.CurrentLayout().Px(6990));
         },
         "144 1"},
        {"and back at 96 dpi",
         [](Quorvane& w) {
             RECT suggested{10, 10, 600, 400};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
             return std::to_string(ClientSize(w.Handle()).cx == w.CurrentLayout().Px(6990));
         },
         "1"},
    };
}

// A black-and-white scheme while the program runs: an edited box's blue is lightened to stay
// readable on the black field; the standard colours come back afterwards.
void SchemeRows(Quorvane& window) {
    const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNTEXT};
    const COLORREF black[] = {0, 0, 0xFFFFFF, 0xFFFFFF};
    COLORREF saved[4];
    for (int i = 0; i < 4; ++i) saved[i] = GetSysColor(elements[i]);
    SetSysColors(4, elements, black);
    SendMessageW(window.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    Check("blue lightened on black", TextColour(window, window.Control("H")), COLORREF(0xFF5F5F));
    Check("red kept on black", TextColour(window, window.Control("D")), COLORREF(0x0000FF));
    SetSysColors(4, elements, saved);
    SendMessageW(window.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    Check("blue again in the standard scheme", TextColour(window, window.Control("H")),
          COLORREF(0xFF0000));
}

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT size = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    return VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)
               ? value
               : L"";
}

// The version and the icon, read back from the built executable.
void ExecutableRows(const std::wstring& exe) {
    std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    const bool read =
        !info.empty() && GetFileVersionInfoW(exe.c_str(), 0, DWORD(info.size()), info.data());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (read) VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size);
    Check(
        "file version 1.0.0.0",
        fixed ? std::vector{fixed->dwFileVersionMS, fixed->dwFileVersionLS} : std::vector<DWORD>{},
        std::vector<DWORD>{0x10000, 0});
    Check("product version 1.0.0.0", fixed ? fixed->dwProductVersionMS : 0, DWORD(0x10000));
    Check("ProductVersion", Narrow(VersionString(info, L"ProductVersion")), std::string("1.00"));
    Check("FileVersion", Narrow(VersionString(info, L"FileVersion")), std::string("1.00"));
    Check("ProductName", Narrow(VersionString(info, L"ProductName")),
          std::string("Quorvane Calculator"));
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC group = module ? FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON) : nullptr;
    const auto* header =
        group ? static_cast<const WORD*>(LockResource(LoadResource(module, group))) : nullptr;
    Check("the icon's images", header ? int(header[2]) : 0, 5);  // mono 32, 32, 16, 48, 256
    if (module) FreeLibrary(module);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 2) {
        std::puts("usage: win32_tests.exe QUORVANE_EXE [de]");
        return 2;
    }
    const bool german = argc > 2 && std::wstring(argv[2]) == L"de";
    const Locale locale = german ? Locale{"997,01", "6,983", "13,967", ","}
                                 : Locale{"997.01", "6.983", "13.967", "."};
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    LocaleRows();
    LayoutRows();
    ExecutableRows(argv[1]);
    Quorvane* window = Quorvane::Create(GetModuleHandleW(nullptr));
    ShowWindow(window->Handle(), SW_SHOW);
    SetForegroundWindow(window->Handle());
    SetFocus(window->Control("H"));
    Pump();
    StartRows(*window, locale);
    for (const auto& rows : {ReactionRows(locale), SystemRows()})
        for (const Row& row : rows) Check(row.what, row.act(*window), row.expected);
    SchemeRows(*window);
    DestroyWindow(window->Handle());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
