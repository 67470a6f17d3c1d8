#include "quorvane.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "app_info.h"
#include "colour_rule.h"
#include "control_table.h"
#include "dpi.h"
#include "locale_format.h"
#include "pictures.h"
#include "rules.h"
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

// The rows in the order their controls are created: the focus order is the creation order, and
// screen readers name a box by the label just before it.
std::vector<std::size_t> CreationOrder() {
    std::vector<std::size_t> order;
    const auto add = [&order](const ControlEntry& entry) {
        const auto row = std::size_t(&entry - kControls.data());
        if (std::ranges::find(order, row) == order.end()) order.push_back(row);
    };
    for (const ControlEntry* entry : FocusOrder()) {
        for (const ControlEntry& caption : kControls)
            if (entry->caption && std::string_view(entry->caption) == caption.name) add(caption);
        add(*entry);
    }
    for (const ControlEntry& entry : kControls) add(entry);
    return order;
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
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

Quorvane::Quorvane(HWND window)
    : window_(window), reactions_(*this, NumberFormatOf(UserLocaleNumbers())) {}

Quorvane* Quorvane::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;  // the icons are the window's: see SetIcons
    RegisterClassExW(&windowClass);          // fails harmlessly when already registered
    HWND window =
        CreateWindowExW(0, kClassName, Widen(app::kDisplayName).c_str(), kWindowStyle,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    return window ? reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK Quorvane::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        Guarded([&] {
            self = new Quorvane(window);
            return LRESULT(0);
        });
        if (!self) return FALSE;  // no window without its state
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = Guarded([&] { return self->OnMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

LRESULT Quorvane::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) = SizeAt(UINT(wParam));
            return TRUE;
        case WM_DPICHANGED:
            LayOut(LOWORD(wParam), reinterpret_cast<RECT*>(lParam));
            SetIcons();
            return 0;
        case WM_SETTINGCHANGE:
            OnSettingChange(wParam, lParam);
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
            reactions_.Deliver();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY:
            if (font_) DeleteObject(font_);
            for (HICON icon : {bigIcon_, smallIcon_})
                if (icon) DestroyIcon(icon);
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Quorvane::OnCreate() {
    CreateControls();
    LayOut(DpiOfWindow(window_));
    SetIcons();
    reactions_.Load();
}

void Quorvane::OnDestroy() {
    for (HWND control : controls_) {
        if (!control) continue;
        annotations_.Clear(control);
        if (EntryOf(control)->kind == ControlKind::Picture)
            DeleteObject(
                reinterpret_cast<HBITMAP>(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, 0)));
    }
    PostQuitMessage(0);
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
    const std::wstring text = Widen(DefaultText(entry, reactions_.Format()));
    const auto id = kFirstId + (&entry - kControls.data());
    HWND control = CreateWindowExW(kind.exStyle, kind.className, text.c_str(), kind.style, 0, 0, 0,
                                   0, window_, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    if (entry.kind == ControlKind::TextBox) {
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no length limit of its own
        SendMessageW(control, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(WholeNumber));
    }
    annotations_.Describe(control, entry);
    return control;
}

// The table at `dpi`, in the message font for it, fitted to the monitor's work area; at the
// place Windows suggests on a change of DPI, else where the window is.
void Quorvane::LayOut(UINT dpi, const RECT* suggested) {
    const RECT workArea =
        WorkAreaOf(suggested ? MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST)
                             : MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST));
    layout_ = LayOutFor(dpi, workArea);
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
    Place(workArea, suggested);
    InvalidateRect(window_, nullptr, TRUE);
}

// Exactly where Windows suggests after a change of DPI, so that a window dragged between
// monitors neither jumps nor flips back; else kept within the work area. A minimised window
// keeps its place and gets its new size when it is restored.
void Quorvane::Place(const RECT& workArea, const RECT* suggested) {
    const SIZE size = layout_.WindowSize();
    if (IsIconic(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + size.cx;
        normal.bottom = normal.top + size.cy;
        SetWindowPlacement(window_, &placement);
        return;
    }
    RECT now{};
    GetWindowRect(window_, &now);
    const RECT& at = suggested ? *suggested : now;
    const LONG x =
        suggested ? at.left : PlaceWithin(at.left, workArea.left, workArea.right, size.cx);
    const LONG y = suggested ? at.top : PlaceWithin(at.top, workArea.top, workArea.bottom, size.cy);
    SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's outer size at `dpi`, for Windows to suggest the rectangle of a DPI change.
SIZE Quorvane::SizeAt(UINT dpi) const {
    return LayOutFor(dpi, WorkAreaOf(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST)))
        .WindowSize();
}

// Only the changes that touch the layout or the colours: Windows sends this for many others.
void Quorvane::OnSettingChange(WPARAM what, LPARAM area) {
    const auto* name = reinterpret_cast<const wchar_t*>(area);
    if (what == SPI_SETNONCLIENTMETRICS || what == SPI_SETWORKAREA) LayOut(layout_.dpi);
    if (what == SPI_SETHIGHCONTRAST || (name && std::wcscmp(name, L"ImmersiveColorSet") == 0))
        OnColoursChanged();
}

// The icons in the sizes of the window's DPI: the title bar's and the taskbar's.
void Quorvane::SetIcons() {
    const auto load = [this](int metric) {
        const int size = SystemMetricFor(metric, layout_.dpi);
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon),
                                             IMAGE_ICON, size, size, 0));
    };
    const HICON big = load(SM_CXICON), small = load(SM_CXSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    for (HICON old : {bigIcon_, smallIcon_})
        if (old) DestroyIcon(old);
    bigIcon_ = big, smallIcon_ = small;
}

// The pictures at their frames' device size: the formula black on white in a light scheme,
// else in the window's text colour on its face; the logo in its own colours.
void Quorvane::DrawPictures() {
    const Ink ink = FormulaInk(SystemColour(COLOR_BTNFACE), SystemColour(COLOR_WINDOW),
                               SystemColour(COLOR_WINDOWTEXT));
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
        reactions_.LiveCalcClicked();
    } else if (code == BN_CLICKED && control == Command1) {
        reactions_.CalculatePressed();
    }
}

// Wine, and Windows for some keys, send EN_CHANGE for a text that did not change.
void Quorvane::OnBoxTextChanged(Input input) {
    std::wstring text = TextOf(Box(input));
    std::wstring& last = lastTexts_[std::size_t(input)];
    if (text == last) return;
    last = std::move(text);
    reactions_.TextChanged(input);
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
    const std::optional<std::uint32_t> word =
        input && reactions_.Edited(*input) ? kBlue : entry.colour;
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
    SetFocus(focusWhenInactive_ && IsChild(window_, focusWhenInactive_) ? focusWhenInactive_ : H);
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
    return Guarded([&] {
        return reinterpret_cast<Quorvane*>(self)->OnBoxMessage(box, message, wParam, lParam);
    });
}

LRESULT Quorvane::OnBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::optional<Input> input = InputOf(box);
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
        case WM_SETTEXT:  // from outside, as a screen reader's edit: typing, in effect
            if (input && !settingText_) reactions_.TextArriving(*input);
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            // Another control of this window; another application is not one.
            auto* to = reinterpret_cast<HWND>(wParam);
            if (input && to && to != box && GetAncestor(to, GA_ROOT) == window_)
                reactions_.FocusLeft(*input);
            return result;
        }
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT Quorvane::OnBoxKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message == WM_KEYDOWN) {
        if (box == Command1 && wParam == VK_RETURN) {  // Enter on the focused button presses it
            SendMessageW(Command1, BM_CLICK, 0, 0);
            return 0;
        }
        if (control && (wParam == VK_BACK || wParam == VK_DELETE) && box != P) {
            DeleteWord(box, wParam == VK_BACK);
            return 0;
        }
        keypadDecimal_ = wParam == VK_DECIMAL && box != P;
        return DefSubclassProc(box, message, wParam, lParam);
    }
    if (wParam == 0x7F) return 0;  // what Ctrl+Backspace types: no number holds it
    if (keypadDecimal_) {          // the keypad's decimal key types the locale's separator
        keypadDecimal_ = false;
        SendMessageW(box, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(Widen(reactions_.Format().decimal).c_str()));
        return 0;
    }
    if (box == P && wParam == 0x03) {  // Ctrl+C in the result copies all of it
        CopyResult();
        return 0;
    }
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);  // Enter not swallowed
    if (const auto input = InputOf(box); input && wParam == VK_RETURN)
        reactions_.EnterTyped(*input);
    return result;
}

// Ctrl+Backspace and Ctrl+Delete: the selection, else all before or after the cursor.
void Quorvane::DeleteWord(HWND box, bool towardStart) {
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const TextSpan span =
        WordKeyDeletion(GetWindowTextLengthW(box), int(end), int(start), int(end), towardStart);
    if (span.start == span.end) return;
    SendMessageW(box, EM_SETSEL, WPARAM(span.start), LPARAM(span.end));
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

// A selection is copied as it is; with none, the whole result, even an empty one, so that no
// earlier number is left on the clipboard to be taken for it.
void Quorvane::CopyResult() {
    DWORD start = 0, end = 0;
    SendMessageW(P, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end) {
        SendMessageW(P, WM_COPY, 0, 0);
        return;
    }
    const std::wstring text = TextOf(P);
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (!OpenClipboard(window_)) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

std::optional<double> Quorvane::Power() {
    return reactions_.Power();
}

std::string Quorvane::InputText(Input input) {
    return Narrow(TextOf(Box(input)));
}

void Quorvane::SetPowerText(std::string_view text) {
    SetWindowTextW(P, Widen(text).c_str());
}

std::string Quorvane::PowerText() {
    return Narrow(TextOf(P));
}

LiveState Quorvane::LiveCalcState() {
    switch (SendMessageW(LiveCalc, BM_GETCHECK, 0, 0)) {
        case BST_UNCHECKED:
            return LiveState::Unchecked;
        case BST_INDETERMINATE:
            return LiveState::Greyed;
        default:
            return LiveState::Checked;
    }
}

void Quorvane::EmptyInput(Input input) {
    settingText_ = true;
    SetWindowTextW(Box(input), L"");
    settingText_ = false;
}

void Quorvane::ShowEdited(Input input) {
    InvalidateRect(Box(input), nullptr, TRUE);
}

bool Quorvane::HasFocus(Input input) {
    return GetFocus() == Box(input);
}

void Quorvane::FocusInput(Input input) {
    SetFocus(Box(input));
}

void Quorvane::ScheduleDelivery() {
    PostMessageW(window_, kAnnounce, 0, 0);
}

void Quorvane::Say(const std::string& words, bool urgent) {
    announced_.push_back(Widen(words));
    Announce(window_, announced_.back(), urgent);
}

void Quorvane::TellFocus(Input input) {
    announced_.push_back(L"focus " + Widen(InputRow(input).name));
    win32::TellFocus(Box(input));
}

HWND Quorvane::Control(std::string_view name) const {
    for (std::size_t row = 0; row < kControls.size(); ++row)
        if (name == kControls[row].name) return controls_[row];
    return nullptr;
}

std::optional<Input> Quorvane::InputOf(HWND box) const {
    const auto found = std::ranges::find(inputBoxes_, box);
    if (!box || found == inputBoxes_.end()) return std::nullopt;
    return Input(found - inputBoxes_.begin());
}

const ControlEntry* Quorvane::EntryOf(HWND control) const {
    const auto found = std::ranges::find(controls_, control);
    if (!control || found == controls_.end()) return nullptr;
    return &kControls[std::size_t(found - controls_.begin())];
}

void Quorvane::Show(int how) {
    ShowWindow(window_, how);
    SetFocus(H);
}

LONG PlaceWithin(LONG at, LONG low, LONG high, LONG size) {
    return high - size < low ? low : std::clamp(at, low, high - size);
}

void Dispatch(HWND window, MSG& message) {
    if (IsDialogMessageW(window, &message)) return;  // Tab, access keys
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(window, message);
    return int(message.wParam);
}

void DispatchPending(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));  // left for the loop that ends on it
            return;
        }
        Dispatch(window, message);
    }
}

}  // namespace quorvane::win32
