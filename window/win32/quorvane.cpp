#include "quorvane.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "accessibility.h"
#include "announcements.h"
#include "app_info.h"
#include "colour_rule.h"
#include "control_table.h"
#include "locale_format.h"
#include "pictures.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuorvaneCalculator";
constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL, which Enter and Esc send
constexpr UINT kAnnounce = WM_APP + 1;
constexpr int kIcon = 1;

Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

bool LightScheme() {
    return LightWithWhiteFields(SystemColour(COLOR_BTNFACE), SystemColour(COLOR_WINDOW));
}

// A box holds one number: a double-click selects all of it, and moving by words jumps over it.
int CALLBACK WholeNumber(LPWSTR, int current, int length, int action) {
    switch (action) {
        case WB_LEFT:
            return 0;
        case WB_RIGHT:
            return length;
        case WB_ISDELIMITER:
            return FALSE;
        default:
            return current;
    }
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::CheckBox ||
           kind == ControlKind::Button;
}

// The rows in the order their controls are created: the focus order is the creation order, and
// screen readers name a box by the label just before it.
std::vector<std::size_t> CreationOrder() {
    std::map<int, std::size_t> byTab;
    for (std::size_t row = 0; row < kControls.size(); ++row)
        if (TakesFocus(kControls[row].kind)) byTab[kControls[row].tab] = row;
    std::vector<std::size_t> order;
    const auto add = [&order](std::size_t row) {
        if (std::ranges::find(order, row) == order.end()) order.push_back(row);
    };
    for (const auto& [tab, row] : byTab) {
        for (std::size_t caption = 0; caption < kControls.size(); ++caption)
            if (kControls[row].caption &&
                std::string_view(kControls[row].caption) == kControls[caption].name)
                add(caption);
        add(row);
    }
    for (std::size_t row = 0; row < kControls.size(); ++row) add(row);
    return order;
}

struct ClassAndStyle {
    const wchar_t* className;
    DWORD style, exStyle;
};

ClassAndStyle ClassOf(const ControlEntry& entry) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (entry.kind) {
        case ControlKind::TextBox:
            return {WC_EDITW,
                    child | WS_TABSTOP | ES_AUTOHSCROLL | (entry.readOnly ? ES_READONLY : 0),
                    WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
        case ControlKind::Button:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::Picture:
            return {WC_STATICW, child | SS_BITMAP | SS_REALSIZECONTROL, 0};
        default:
            return {WC_STATICW, child | SS_LEFT | SS_NOPREFIX, 0};
    }
}

}  // namespace

Quorvane::Quorvane(HWND window) : window_(window), format_(NumberFormatOf(UserLocaleNumbers())) {}

Quorvane* Quorvane::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIcon),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    HWND window =
        CreateWindowExW(0, kClassName, Widen(app::kDisplayName).c_str(), kWindowStyle,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    return window ? reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK Quorvane::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = new Quorvane(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

LRESULT Quorvane::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            LayOut(GetDpiForWindow(window_));
            Power();  // the worked example is on show from the start
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            LayOut(LOWORD(wParam), reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            LayOut(layout_.dpi);
            OnColoursChanged();
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            OnColoursChanged();
            return 0;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case kAnnounce:
            OnAnnounce();
            return 0;
        case WM_DESTROY:
            for (HWND control : controls_)
                if (control && EntryOf(control)->kind == ControlKind::Picture)
                    DeleteObject(reinterpret_cast<HBITMAP>(
                        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, 0)));
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            if (font_) DeleteObject(font_);
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// Every row of the table as a control, in creation order; the boxes subclassed for their
// reactions. The line is drawn by the window itself.
void Quorvane::CreateControls() {
    controls_.assign(kControls.size(), nullptr);
    for (const std::size_t row : CreationOrder())
        if (kControls[row].kind != ControlKind::Line)
            controls_[row] = CreateControl(kControls[row]);
    H = Control("H"), Q = Control("Q"), D = Control("D"), E = Control("E"), P = Control("P");
    LiveCalc = Control("LiveCalc"), Command1 = Control("Command1");
    for (const ControlEntry& entry : kControls)
        if (entry.input) {
            HWND box = Control(entry.name);
            inputBoxes_[std::size_t(*entry.input)] = box;
            lastTexts_[std::size_t(*entry.input)] = TextOf(box);  // the initial text is no edit
        }
    for (HWND control : {H, Q, D, E, P, Command1})
        SetWindowSubclass(control, BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(LiveCalc, BM_SETCHECK, Row("LiveCalc").checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND Quorvane::CreateControl(const ControlEntry& entry) {
    const ClassAndStyle kind = ClassOf(entry);
    // The defaults are numbers written with a full stop: shown in the user's notation.
    const std::wstring text = entry.kind == ControlKind::TextBox && *entry.text
                                  ? Widen(DoubleToText(TextToDouble(entry.text, {}), format_))
                                  : Widen(entry.text);
    const auto id = kFirstId + (&entry - kControls.data());
    HWND control = CreateWindowExW(kind.exStyle, kind.className, text.c_str(), kind.style, 0, 0, 0,
                                   0, window_, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    if (entry.kind == ControlKind::TextBox) {
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no length limit of its own
        SendMessageW(control, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(WholeNumber));
    }
    Describe(control, entry);
    return control;
}

// The table at `dpi`, in the message font for it, fitted to the monitor's work area; at the
// place Windows suggests on a change of DPI, else where the window is.
void Quorvane::LayOut(UINT dpi, const RECT* suggested) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    layout_ = LayOutFor(dpi, monitor.rcWork);
    HFONT old = font_;
    font_ = CreateFontIndirectW(&layout_.font);
    for (std::size_t row = 0; row < kControls.size(); ++row) {
        const ControlEntry& entry = kControls[row];
        if (!controls_[row]) continue;
        SendMessageW(controls_[row], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        SetWindowPos(controls_[row], nullptr, layout_.Px(entry.left), layout_.Px(entry.top),
                     layout_.Px(entry.width), layout_.Px(entry.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (old) DeleteObject(old);
    DrawPictures();
    RECT now{};
    GetWindowRect(window_, &now);
    const RECT& at = suggested ? *suggested : now;
    const SIZE size = layout_.WindowSize();
    const LONG x = std::clamp(at.left, monitor.rcWork.left, monitor.rcWork.right - size.cx);
    const LONG y = std::clamp(at.top, monitor.rcWork.top, monitor.rcWork.bottom - size.cy);
    SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

// The pictures at their frames' device size: the formula black on white in a light scheme,
// else in the window's text colour on its face; the logo in its own colours.
void Quorvane::DrawPictures() {
    const Ink ink = LightScheme()
                        ? Ink{{0, 0, 0}, {255, 255, 255}}
                        : Ink{SystemColour(COLOR_WINDOWTEXT), SystemColour(COLOR_BTNFACE)};
    for (std::size_t row = 0; row < kControls.size(); ++row) {
        const ControlEntry& entry = kControls[row];
        if (entry.kind != ControlKind::Picture) continue;
        const int first = entry.stretched ? kLogoBitmaps : kFormulaBitmaps;
        HBITMAP picture =
            DrawPicture(first, {layout_.Px(entry.width), layout_.Px(entry.height)}, ink);
        auto old = reinterpret_cast<HBITMAP>(SendMessageW(
            controls_[row], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
        if (old) DeleteObject(old);
    }
}

void Quorvane::OnCommand(int id, int code) {
    HWND control = GetDlgItem(window_, id);
    if (code == EN_CHANGE) {
        if (const auto input = InputOf(control)) OnBoxTextChanged(*input);
    } else if (code == BN_CLICKED && control == LiveCalc) {
        LiveRecalc();
        AnnouncePower();
    } else if (code == BN_CLICKED && control == Command1) {
        Power();
        AnnouncePower();
    }
}

// Wine, and Windows for some keys, send EN_CHANGE for a text that did not change.
void Quorvane::OnBoxTextChanged(std::size_t input) {
    std::wstring text = TextOf(inputBoxes_[input]);
    if (text == lastTexts_[input]) return;
    lastTexts_[input] = std::move(text);
    edited_[input] = true;  // blue for good: nothing turns a box red again
    InvalidateRect(inputBoxes_[input], nullptr, TRUE);
}

// The colour words exactly in a light scheme with white fields; on any other, as near to them
// as stays readable on the field or face behind.
LRESULT Quorvane::OnControlColour(HDC dc, HWND control) {
    const ControlEntry* row = EntryOf(control);
    if (!row) return 0;  // none of ours: the system's colours
    const ControlEntry& entry = *row;
    const bool box = entry.kind == ControlKind::TextBox;
    const Rgb background = SystemColour(box ? COLOR_WINDOW : COLOR_BTNFACE);
    const auto input = InputOf(control);
    const std::optional<std::uint32_t> word = input && edited_[*input] ? kBlue : entry.colour;
    const Rgb text = word ? Legible(FromColourWord(*word), background, LightScheme())
                          : SystemColour(COLOR_WINDOWTEXT);
    SetTextColor(dc, ToColourWord(text));  // a COLORREF is the same 0x00BBGGRR word
    SetBkColor(dc, ToColourWord(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(box ? COLOR_WINDOW : COLOR_BTNFACE));
}

void Quorvane::OnColoursChanged() {
    DrawPictures();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The focus comes back to the control that had it when another application was activated.
void Quorvane::OnActivate(bool active) {
    if (!active) {
        focusWhenInactive_ = GetFocus();
        return;
    }
    HWND back = focusWhenInactive_ && IsChild(window_, focusWhenInactive_) ? focusWhenInactive_ : H;
    movingFocus_ = true;
    SetFocus(back);
    movingFocus_ = false;
}

// The line: one pixel at 96 dpi, as many whole device pixels at higher ones, in the text colour.
void Quorvane::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const ControlEntry& line = Row("Line1");
    const int thickness = std::max(1, int(std::lround(layout_.dpi / 96.0)));
    const RECT rect{layout_.Px(line.left), layout_.Px(line.top), layout_.Px(line.x2),
                    layout_.Px(line.top) + thickness};
    FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWTEXT));
    EndPaint(window_, &paint);
}

LRESULT CALLBACK Quorvane::BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, BoxProc, 0);
    return reinterpret_cast<Quorvane*>(self)->OnBoxMessage(box, message, wParam, lParam);
}

LRESULT Quorvane::OnBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool input = InputOf(box).has_value();
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter goes to the input boxes and to the focused button, not to the dialog
            // manager, which would send IDOK: there is no default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
            const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return enter && box != P ? code | DLGC_WANTALLKEYS : code;
        }
        case WM_KEYDOWN:
        case WM_CHAR:
            return OnBoxKey(box, message, wParam, lParam);
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            // Another control of this window; another application is not one.
            auto* to = reinterpret_cast<HWND>(wParam);
            if (input && !movingFocus_ && to && to != box && GetAncestor(to, GA_ROOT) == window_)
                InputFinished(box, false);
            return result;
        }
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT Quorvane::OnBoxKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        if (box == Command1 && wParam == VK_RETURN) {  // Enter on the focused button presses it
            SendMessageW(Command1, BM_CLICK, 0, 0);
            return 0;
        }
        keypadDecimal_ = wParam == VK_DECIMAL && box != P;
        return DefSubclassProc(box, message, wParam, lParam);
    }
    if (keypadDecimal_) {  // the keypad's decimal key types the locale's separator
        keypadDecimal_ = false;
        SendMessageW(box, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(Widen(format_.decimal).c_str()));
        return 0;
    }
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (box == P && wParam == 0x03 && start == end) {  // Ctrl+C in the result copies all of it
        SendMessageW(P, EM_SETSEL, 0, -1);
        SendMessageW(P, WM_COPY, 0, 0);
        SendMessageW(P, EM_SETSEL, start, end);
        return 0;
    }
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);  // Enter not swallowed
    if (wParam == VK_RETURN && InputOf(box)) InputFinished(box, true);
    return result;
}

void Quorvane::InputFinished(HWND box, bool byEnter) {
    const std::wstring before = TextOf(P);
    const bool refused = box == E && CheckEfficiencyLimit();
    LiveRecalc();
    // Enter asks for the result; merely leaving a box says only what changed.
    if (byEnter || refused || TextOf(P) != before) AnnouncePower(refused);
}

void Quorvane::LiveRecalc() {
    if (SendMessageW(LiveCalc, BM_GETCHECK, 0, 0) == BST_UNCHECKED)
        SetWindowTextW(P, L"");
    else
        Power();  // checked or greyed
}

bool Quorvane::CheckEfficiencyLimit() {
    double efficiency = 0;
    try {
        efficiency = TextToDouble(Narrow(TextOf(E)), format_);
    } catch (const ConversionError&) {
        return false;  // nothing to compare; the recalculation that follows empties the result
    }
    if (efficiency <= 100) return false;
    SetWindowTextW(E, L"");
    // At once, from inside the focus change: a click that moved the focus still acts.
    movingFocus_ = true;
    SetFocus(E);
    movingFocus_ = false;
    return true;
}

// Spoken once the focus events of this action are out, so that a screen reader that stops
// speech on a focus change does not cut it off.
void Quorvane::AnnouncePower(bool efficiencyRefused) {
    pendingAnnouncement_ = Widen(PowerAnnouncement(Narrow(TextOf(P)), efficiencyRefused));
    pendingRefusal_ = pendingRefusal_ || efficiencyRefused;
    PostMessageW(window_, kAnnounce, 0, 0);
}

void Quorvane::OnAnnounce() {
    if (pendingAnnouncement_.empty()) return;
    lastAnnouncement_ = std::move(pendingAnnouncement_);
    pendingAnnouncement_.clear();
    Announce(window_, lastAnnouncement_);
    if (pendingRefusal_ && GetFocus() == E) TellFocus(E);  // back in the efficiency box
    pendingRefusal_ = false;
}

std::optional<double> Quorvane::Power() {
    return quorvane::Power(*this, format_);
}

std::string Quorvane::InputText(Input input) {
    return Narrow(TextOf(inputBoxes_[std::size_t(input)]));
}

void Quorvane::SetPowerText(std::string_view text) {
    SetWindowTextW(P, Widen(text).c_str());
}

HWND Quorvane::Control(std::string_view name) const {
    for (std::size_t row = 0; row < kControls.size(); ++row)
        if (name == kControls[row].name) return controls_[row];
    return nullptr;
}

std::optional<std::size_t> Quorvane::InputOf(HWND box) const {
    const auto found = std::ranges::find(inputBoxes_, box);
    if (!box || found == inputBoxes_.end()) return std::nullopt;
    return std::size_t(found - inputBoxes_.begin());
}

const ControlEntry* Quorvane::EntryOf(HWND control) const {
    const auto found = std::ranges::find(controls_, control);
    if (!control || found == controls_.end()) return nullptr;
    return &kControls[std::size_t(found - controls_.begin())];
}

}  // namespace quorvane::win32
