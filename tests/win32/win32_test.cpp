// The Win32 window in-process, under Wine or Windows: tables of rows, each compared with its
// literal expected value. What the reactions decide is the shared table's; these rows check that
// Win32's messages reach them and that what they ask is carried out. What screen readers are
// told is read through a ScreenReaders of the test's own.
// Usage: win32_tests.exe QUORVANE_EXE [de]  (de: run in a German locale)
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

#include "dpi.h"
#include "layout.h"
#include "locale_format.h"
#include "quorvane.h"
#include "text.h"

using namespace quorvane;
using namespace quorvane::win32;

namespace {

int passed = 0, failed = 0;

// What the window told screen readers, kept as well as passed on: "focus E" where the focus
// was told.
class Heard : public ScreenReaders {
  public:
    std::vector<std::string> told;
    void Say(HWND window, std::wstring_view words, bool urgent) override {
        told.push_back(Narrow(words));
        ScreenReaders::Say(window, words, urgent);
    }
    void TellFocus(HWND control) override {
        const int row = GetDlgCtrlID(control) - 100;  // the window numbers its controls from 100
        told.push_back("focus " + std::string(kControls[row].name));
        ScreenReaders::TellFocus(control);
    }
} heard;

// A control by its name in the table.
HWND Named(Quorvane& w, std::string_view name) {
    for (const ControlEntry& entry : kControls)
        if (name == entry.name) return w.Control(entry);
    return nullptr;
}

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
    std::string density, power, flow120, decimal;
};

void StartRows(Quorvane& window, const Locale& locale) {
    Check("result at start", Text(Named(window, "P")), locale.power);
    Check("density in the locale's notation", Text(Named(window, "D")), locale.density);
    Check("focus in H at start", GetFocus(), Named(window, "H"));
    Check("H red at start", TextColour(window, Named(window, "H")), COLORREF(0x0000EE));
    Check("P purple", TextColour(window, Named(window, "P")), COLORREF(0x800080));
    Check("P read-only", (GetWindowLongW(Named(window, "P"), GWL_STYLE) & ES_READONLY) != 0, true);
    Check("live calculation checked", SendMessageW(Named(window, "LiveCalc"), BM_GETCHECK, 0, 0),
          LRESULT(BST_CHECKED));
    const LONG style = GetWindowLongW(window.Handle(), GWL_STYLE);
    Check("fixed border, no maximize", (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0, true);
    Check("caption", Text(window.Handle()), std::string("Quorvane Calculator"));
}

// Each row acts on the window as a user would, then reads one thing back.
struct ActRow {
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
        if (Named(w, name) == control) return name;
    return "(other)";
}

std::string Focus(Quorvane& w) {
    return Name(w, GetFocus());
}

// Everything screen readers were told since `from`, joined by " | ".
std::string Told(std::size_t from) {
    std::string told;
    for (std::size_t i = from; i < heard.told.size(); ++i) {
        if (!told.empty()) told += " | ";
        told += heard.told[i];
    }
    return told;
}

void Calculate(Quorvane& w) {
    SendMessageW(Named(w, "Command1"), BM_CLICK, 0, 0);
    DispatchPending(w.Handle());
}

void SetLive(Quorvane& w, bool on) {
    SendMessageW(Named(w, "LiveCalc"), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
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
        {"Enter in Q",
         "Q",
         L"120",
         true,
         {{VK_RETURN}},
         l.flow120 + "|Q|70|Power " + l.flow120 + " kilowatts"},
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
        {"150 and Alt+C: the refusal is heard whole",
         "E",
         L"150",
         true,
         {{VK_MENU, 'C'}},
         "|E||" + refused},
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
    };
}

void KeyRowsThroughTheLoop(Quorvane& w, const Locale& locale) {
    for (const KeyRow& row : KeyRows(locale)) {
        SetLive(w, true);
        Type(Named(w, "E"), L"70");
        Type(Named(w, "Q"), L"60");
        Type(Named(w, "D"), Widen(locale.density).c_str());
        Type(Named(w, "H"), L"30");
        Calculate(w);
        SetLive(w, row.live);
        if (!row.live) SetWindowTextW(Named(w, "P"), L"");
        SetFocus(Named(w, row.box));
        if (row.text) SetWindowTextW(Named(w, row.box), row.text);
        DispatchPending(w.Handle());
        const std::size_t before = heard.told.size();
        for (const auto& keys : row.keys) Press(w.Handle(), keys);
        Check(row.what,
              Text(Named(w, "P")) + "|" + Focus(w) + "|" + Text(Named(w, "E")) + "|" + Told(before),
              row.expected);
    }
    SetLive(w, true);
}

std::vector<ActRow> ReactionRows(const Locale& locale) {
    return {
        {"the same text keeps H red",
         [](Quorvane& w) {
             SetWindowTextW(Named(w, "H"), L"30");
             return std::to_string(TextColour(w, Named(w, "H")));
         },
         "238"},
        {"a new text turns H blue for good",
         [](Quorvane& w) {
             SetWindowTextW(Named(w, "H"), L"31");
             SetWindowTextW(Named(w, "H"), L"30");
             return std::to_string(TextColour(w, Named(w, "H")));
         },
         "16711680"},
        {"E 150, a press on LiveCalc held: nothing told until its release, then the refusal "
         "whole; the click acts",
         [](Quorvane& w) {
             Type(Named(w, "E"), L"150");
             const std::size_t before = heard.told.size();
             SendMessageW(Named(w, "LiveCalc"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
             DispatchPending(w.Handle());
             const std::string held = Told(before);
             SendMessageW(Named(w, "LiveCalc"), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
             DispatchPending(w.Handle());
             const bool live = SendMessageW(Named(w, "LiveCalc"), BM_GETCHECK, 0, 0);
             SetLive(w, true);
             return "[" + held + "] " + Focus(w) + " " + std::to_string(live) + " " + Told(before);
         },
         "[] E 0 focus E | Pump Efficiency above 100 refused. Power empty. The cursor is in Pump "
         "Efficiency, now empty."},
        {"a screen reader's edit of E is checked when E is left",
         [](Quorvane& w) {
             Type(Named(w, "E"), L"70");
             SetFocus(Named(w, "H"));
             SendMessageW(Named(w, "E"), WM_SETTEXT, 0, LPARAM(L"150"));
             SetFocus(Named(w, "Q"));
             DispatchPending(w.Handle());
             return Focus(w) + " [" + Text(Named(w, "E")) + "]";
         },
         "E []"},
        {"Ctrl+C in an empty result copies it empty",
         [](Quorvane& w) {
             Type(Named(w, "E"), L"");
             Calculate(w);
             SetFocus(Named(w, "P"));
             Press(w.Handle(), {VK_CONTROL, 'C'});
             const std::string copied = ClipboardText(w.Handle());
             return "[" + copied + "]";
         },
         "[]"},
        {"the keypad's decimal key types the locale's separator",
         [](Quorvane& w) {
             Type(Named(w, "H"), L"");
             SendMessageW(Named(w, "H"), WM_KEYDOWN, VK_DECIMAL, 0);
             SendMessageW(Named(w, "H"), WM_CHAR, L'.', 0);
             return Text(Named(w, "H"));
         },
         locale.decimal},
        {"a double-click selects the whole number",
         [](Quorvane& w) {
             Type(Named(w, "H"), L"-6.5E+3");
             SendMessageW(Named(w, "H"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 5));
             DWORD start = 0, end = 0;
             SendMessageW(Named(w, "H"), EM_GETSEL, WPARAM(&start), LPARAM(&end));
             SendMessageW(Named(w, "H"), WM_LBUTTONUP, 0, MAKELPARAM(12, 5));
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

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

std::vector<ActRow> SystemRows() {
    return {
        {"WM_GETDPISCALEDSIZE answers the layout's size at the new DPI",
         [](Quorvane& w) {
             SIZE size{};
             const LRESULT answered =
                 SendMessageW(w.Handle(), WM_GETDPISCALEDSIZE, 144, LPARAM(&size));
             const SIZE expected = LayOutFor(144, WorkArea()).WindowSize();
             return std::to_string(answered) + " " +
                    std::to_string(size.cx == expected.cx && size.cy == expected.cy);
         },
         "1 1"},
        {"WM_DPICHANGED lays the window out at the new DPI, where it suggests",
         [](Quorvane& w) {
             RECT suggested{-20, 10, 900, 500};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
             const SIZE size = ClientSize(w.Handle());
             return std::to_string(size.cx == LayOutFor(144, WorkArea()).Px(6990)) + " " +
                    Where(w.Handle());
         },
         "1 -20,10"},
        {"the title bar's icon in the new DPI's size",
         [](Quorvane& w) { return std::to_string(IconSize(w.Handle(), ICON_SMALL).cx); }, "24"},
        {"and back at 96 dpi",
         [](Quorvane& w) {
             RECT suggested{10, 10, 600, 400};
             SendMessageW(w.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
             return std::to_string(ClientSize(w.Handle()).cx ==
                                   LayOutFor(96, WorkArea()).Px(6990)) +
                    " " + std::to_string(IconSize(w.Handle(), ICON_SMALL).cx);
         },
         "1 16"},
        {"the monitor's DPI from shcore.dll, as the window's",
         [](Quorvane& w) {
             const HMONITOR monitor = MonitorFromWindow(w.Handle(), MONITOR_DEFAULTTONEAREST);
             return std::to_string(MonitorDpi(monitor) == GetDpiForWindow(w.Handle()));
         },
         "1"},
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
    Check("blue lightened on black", TextColour(window, Named(window, "H")), COLORREF(0xFF5F5F));
    Check("red kept on black", TextColour(window, Named(window, "D")), COLORREF(0x0000FF));
    SetSysColors(4, elements, saved);
    SendMessageW(window.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    Check("blue again in the standard scheme", TextColour(window, Named(window, "H")),
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
    Quorvane* window = Quorvane::Create(GetModuleHandleW(nullptr), heard);
    window->Show(SW_SHOW);
    SetForegroundWindow(window->Handle());
    Pump();
    StartRows(*window, locale);
    for (const auto& rows : {ReactionRows(locale), SystemRows()})
        for (const ActRow& row : rows) Check(row.what, row.act(*window), row.expected);
    SchemeRows(*window);
    KeyRowsThroughTheLoop(*window, locale);
    DestroyWindow(window->Handle());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
