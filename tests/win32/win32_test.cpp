// The Win32 window in-process, under Wine or Windows: tables of rows, each compared with its
// literal expected value. Usage: win32_tests.exe QUORVANE_EXE [de]  (de: run in a German locale)
// The other Windows headers need windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <new>
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

// The text colour the window gives `box`, as a 0x00BBGGRR word, in the message Windows sends
// for it: a read-only edit asks as a static control does.
COLORREF TextColour(Quorvane& window, HWND box) {
    HDC dc = GetDC(box);
    const bool readOnly = GetWindowLongW(box, GWL_STYLE) & ES_READONLY;
    SendMessageW(window.Handle(), readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, WPARAM(dc),
                 LPARAM(box));
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
    std::string density, power, flow120, decimal, head40, density1000, efficiency100;
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

// Keys as the keyboard sends them, through the program's own loop, the dialog manager
// included: each key down in turn, then up in reverse ({VK_MENU, 'C'} is Alt+C).
void Press(HWND window, std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (const WORD key : keys) add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    for (int i = 0; i < 20; ++i) {  // hardware input arrives through the queue, a little later
        Sleep(5);
        DispatchPending(window);
    }
}

std::string Name(Quorvane& w, HWND control) {
    for (const char* name : {"H", "Q", "D", "E", "P", "Command1", "LiveCalc"})
        if (w.Control(name) == control) return name;
    return "(other)";
}

std::string Focus(Quorvane& w) {
    return Name(w, GetFocus());
}

// Everything screen readers were told since `from`, joined by " | ".
std::string Told(Quorvane& w, std::size_t from) {
    std::string told;
    for (std::size_t i = from; i < w.Announced().size(); ++i) {
        if (!told.empty()) told += " | ";
        told += Narrow(w.Announced()[i]);
    }
    return told;
}

void SetLive(Quorvane& w, bool on) {
    SendMessageW(w.Control("LiveCalc"), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string ClipboardText(HWND owner) {
    std::string text = "(none)";
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = Narrow(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A reaction row: from the given box with the given text, live calculation on or off, keys
// pressed through the program's loop; then the result, the focus, E and what screen readers
// heard: "P|focus|E|told".
struct KeyRow {
    const char* what;
    const char* box;
    const wchar_t* text;
    bool live;
    std::vector<std::initializer_list<WORD>> keys;
    std::string expected;
};

std::vector<KeyRow> KeyRows(const Locale& l) {
    const std::string refused =
        "focus E | Pump Efficiency above 100 refused. Power empty. The cursor is in Pump "
        "Efficiency, now empty.";
    return {
        {"Enter in H",
         "H",
         L"40",
         true,
         {{VK_RETURN}},
         l.head40 + "|H|70|Power " + l.head40 + " kilowatts"},
        {"Enter in Q",
         "Q",
         L"120",
         true,
         {{VK_RETURN}},
         l.flow120 + "|Q|70|Power " + l.flow120 + " kilowatts"},
        {"Enter in D",
         "D",
         L"1000",
         true,
         {{VK_RETURN}},
         l.density1000 + "|D|70|Power " + l.density1000 + " kilowatts"},
        {"100 and Enter in E passes",
         "E",
         L"100",
         true,
         {{VK_RETURN}},
         l.efficiency100 + "|E|100|Power " + l.efficiency100 + " kilowatts"},
        {"Tab from Q",
         "Q",
         L"120",
         true,
         {{VK_TAB}},
         l.flow120 + "|D|70|Power " + l.flow120 + " kilowatts"},
        {"Shift+Tab walks back",
         "Q",
         L"60",
         false,
         {{VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}},
         "|LiveCalc|70|"},
        {"Esc in a box presses nothing", "Q", L"120", false, {{VK_ESCAPE}}, "|Q|70|"},
        {"Enter in a box presses nothing", "Q", L"120", false, {{VK_RETURN}}, "|Q|70|Power empty"},
        {"Alt+C leaves the box, then calculates",
         "Q",
         L"120",
         false,
         {{VK_MENU, 'C'}},
         l.flow120 + "|Command1|70|Power " + l.flow120 + " kilowatts"},
        {"Enter on the focused Calculate",
         "Command1",
         nullptr,
         false,
         {{VK_RETURN}},
         l.power + "|Command1|70|Power " + l.power + " kilowatts"},
        {"Space on the focused Calculate",
         "Command1",
         nullptr,
         false,
         {{VK_SPACE}},
         l.power + "|Command1|70|Power " + l.power + " kilowatts"},
        {"150 and Enter", "E", L"150", true, {{VK_RETURN}}, "|E||" + refused},
        {"150 and Tab", "E", L"150", true, {{VK_TAB}}, "|E||" + refused},
        {"150 and Alt+C: the refusal is heard whole",
         "E",
         L"150",
         true,
         {{VK_MENU, 'C'}},
         "|E||" + refused},
        {"Ctrl+Backspace at the start deletes nothing",
         "H",
         L"30",
         true,
         {{VK_HOME}, {VK_CONTROL, VK_BACK}, {VK_RETURN}},
         l.power + "|H|70|Power " + l.power + " kilowatts"},
        {"Ctrl+Backspace deletes before the cursor",
         "H",
         L"130",
         true,
         {{VK_HOME}, {VK_RIGHT}, {VK_CONTROL, VK_BACK}, {VK_RETURN}},
         l.power + "|H|70|Power " + l.power + " kilowatts"},
        {"Ctrl+Delete deletes after the cursor",
         "H",
         L"305",
         true,
         {{VK_HOME}, {VK_RIGHT}, {VK_RIGHT}, {VK_CONTROL, VK_DELETE}, {VK_RETURN}},
         l.power + "|H|70|Power " + l.power + " kilowatts"},
        {"Ctrl+Delete deletes the selection",
         "H",
         L"3",
         true,
         {{VK_END}, {'0'}, {'0'}, {VK_SHIFT, VK_LEFT}, {VK_CONTROL, VK_DELETE}, {VK_RETURN}},
         l.power + "|H|70|Power " + l.power + " kilowatts"},
    };
}

void KeyRowsThroughTheLoop(Quorvane& w, const Locale& locale) {
    for (const KeyRow& row : KeyRows(locale)) {
        SetLive(w, true);
        Type(w.Control("E"), L"70");
        Type(w.Control("Q"), L"60");
        Type(w.Control("D"), Widen(locale.density).c_str());
        Type(w.Control("H"), L"30");
        w.Power();
        SetLive(w, row.live);
        if (!row.live) SetWindowTextW(w.Control("P"), L"");
        SetFocus(w.Control(row.box));
        if (row.text) SetWindowTextW(w.Control(row.box), row.text);
        DispatchPending(w.Handle());
        const std::size_t before = w.Announced().size();
        for (const auto& keys : row.keys) Press(w.Handle(), keys);
        Check(row.what,
              Text(w.Control("P")) + "|" + Focus(w) + "|" + Text(w.Control("E")) + "|" +
                  Told(w, before),
              row.expected);
    }
    SetLive(w, true);
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
        {"E 150 and a click on LiveCalc: the refusal is heard whole, the click acts",
         [](Quorvane& w) {
             Type(w.Control("E"), L"150");
             const std::size_t before = w.Announced().size();
             SendMessageW(w.Control("LiveCalc"), BM_CLICK, 0, 0);  // down, focus, up
             DispatchPending(w.Handle());
             const bool live = SendMessageW(w.Control("LiveCalc"), BM_GETCHECK, 0, 0);
             SetLive(w, true);
             return Focus(w) + " " + std::to_string(live) + " " + Told(w, before);
         },
         "E 0 focus E | Pump Efficiency above 100 refused. Power empty. The cursor is in Pump "
         "Efficiency, now empty."},
        {"a screen reader's edit of E is checked when E is left",
         [](Quorvane& w) {
             Type(w.Control("E"), L"70");
             SetFocus(w.Control("H"));
             SendMessageW(w.Control("E"), WM_SETTEXT, 0, LPARAM(L"150"));
             SetFocus(w.Control("Q"));
             DispatchPending(w.Handle());
             return Focus(w) + " [" + Text(w.Control("E")) + "]";
         },
         "E []"},
        {"Ctrl+C in an empty result copies it empty",
         [](Quorvane& w) {
             Type(w.Control("E"), L"");
             w.Power();
             SetFocus(w.Control("P"));
             SendMessageW(w.Control("P"), WM_CHAR, 0x03, 0);
             return "[" + ClipboardText(w.Handle()) + "]";
         },
         "[]"},
        {"Ctrl+C in the result copies all of it",
         [](Quorvane& w) {
             Type(w.Control("E"), L"70");
             w.Power();
             SendMessageW(w.Control("P"), WM_CHAR, 0x03, 0);
             return ClipboardText(w.Handle());
         },
         locale.power},
        {"what Ctrl+Backspace types is no text",
         [](Quorvane& w) {
             Type(w.Control("H"), L"30");
             SendMessageW(w.Control("H"), WM_CHAR, 0x7F, 0);
             return Text(w.Control("H"));
         },
         "30"},
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

SIZE IconSize(HWND window, WPARAM which) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    BITMAP bitmap{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

std::string Where(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top);
}

std::vector<Row> SystemRows() {
    return {
        {"WM_GETDPISCALEDSIZE answers the layout's size at the new DPI",
         [](Quorvane& w) {
             SIZE size{};
             const LRESULT answered =
                 SendMessageW(w.Handle(), WM_GETDPISCALEDSIZE, 144, LPARAM(&size));
             RECT work{};
             SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
             const SIZE expected = LayOutFor(144, work).WindowSize();
             return std::to_string(answered) + " " +
                    std::to_string(size.cx == expected.cx && size.cy == expected.cy);
         },
         "1 1"},
        {"WM_DPICHANGED lays the window out at the new DPI, where it suggests",
         [](Quorvane& w) {
             RECT suggested{-20, 10, 900, 500};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
             const SIZE size = ClientSize(w.Handle());
             return std::to_string(w.CurrentLayout().dpi) + " " +
                    std::to_string(size.cx == w.CurrentLayout().Px(6990)) + " " + Where(w.Handle());
         },
         "144 1 -20,10"},
        {"the title bar's icon in the new DPI's size",
         [](Quorvane& w) { return std::to_string(IconSize(w.Handle(), ICON_SMALL).cx); }, "24"},
        {"and back at 96 dpi",
         [](Quorvane& w) {
             RECT suggested{10, 10, 600, 400};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
             return std::to_string(ClientSize(w.Handle()).cx == w.CurrentLayout().Px(6990)) + " " +
                    std::to_string(IconSize(w.Handle(), ICON_SMALL).cx);
         },
         "1 16"},
        {"a setting of no concern leaves the window where it is",
         [](Quorvane& w) {
             SetWindowPos(w.Handle(), nullptr, -30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
             SendMessageW(w.Handle(), WM_SETTINGCHANGE, SPI_SETBEEP, 0);
             return Where(w.Handle());
         },
         "-30,20"},
        {"a new message font while minimised leaves it minimised, where it was",
         [](Quorvane& w) {
             SetWindowPos(w.Handle(), nullptr, -30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
             ShowWindow(w.Handle(), SW_MINIMIZE);
             const std::string minimised = Where(w.Handle());
             SendMessageW(w.Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
             const bool still = IsIconic(w.Handle()) && Where(w.Handle()) == minimised;
             ShowWindow(w.Handle(), SW_RESTORE);
             const std::string restored = Where(w.Handle());
             w.Show(SW_SHOW);
             DispatchPending(w.Handle());
             return std::to_string(still) + " " + restored;
         },
         "1 -30,20"},
        {"a window larger than the work area starts at its edge",
         [](Quorvane&) {
             return std::to_string(PlaceWithin(50, 0, 100, 200)) + " " +
                    std::to_string(PlaceWithin(90, 0, 100, 20)) + " " +
                    std::to_string(PlaceWithin(-5, 0, 100, 20));
         },
         "0 80 0"},
        {"an exception ends the program cleanly at the window's edge",
         [](Quorvane&) {
             const LRESULT result = Guarded([]() -> LRESULT { throw std::bad_alloc(); }, 7);
             MSG quit{};
             const bool posted = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
             return std::to_string(result) + " " + std::to_string(posted) + " " +
                    std::to_string(quit.wParam);
         },
         "7 1 1"},
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
    const Locale locale = german
                              ? Locale{"997,01", "6,983", "13,967", ",", "9,311", "7,004", "4,888"}
                              : Locale{"997.01", "6.983", "13.967", ".", "9.311", "7.004", "4.888"};
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    LocaleRows();
    LayoutRows();
    ExecutableRows(argv[1]);
    Quorvane* window = Quorvane::Create(GetModuleHandleW(nullptr));
    window->Show(SW_SHOW);
    SetForegroundWindow(window->Handle());
    Pump();
    StartRows(*window, locale);
    for (const auto& rows : {ReactionRows(locale), SystemRows()})
        for (const Row& row : rows) Check(row.what, row.act(*window), row.expected);
    SchemeRows(*window);
    KeyRowsThroughTheLoop(*window, locale);
    DestroyWindow(window->Handle());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
