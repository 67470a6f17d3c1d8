// The window procedure, which only hands each message to its handler, and the window as the
// reactions' view.
#include "quorvane.h"

#include <algorithm>

#include "app_info.h"
#include "dpi.h"
#include "locale_format.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuorvaneCalculator";
constexpr UINT kDeliver = WM_APP + 1;

}  // namespace

Quorvane::Quorvane(HWND window, ScreenReaders& readers)
    : window_(window), readers_(readers), reactions_(*this, NumberFormatOf(UserLocaleNumbers())) {}

Quorvane::~Quorvane() {
    if (font_) DeleteObject(font_);
    for (HICON icon : {bigIcon_, smallIcon_})
        if (icon) DestroyIcon(icon);
}

Quorvane* Quorvane::Create(HINSTANCE instance, ScreenReaders& readers) {
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
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, &readers);
    return window ? reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK Quorvane::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Quorvane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Guarded([&] {
            self = new Quorvane(window, *static_cast<ScreenReaders*>(create->lpCreateParams));
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
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            OnPress(message);
            break;
        case kDeliver:
            reactions_.Deliver();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Quorvane::OnCreate() {
    CreateControls();
    LayOut(DpiOfWindow(window_));
    SetIcons();
    reactions_.Load();
}

void Quorvane::OnCommand(int id, int code) {
    const ControlEntry* entry = EntryOf(GetDlgItem(window_, id));
    if (entry && code == EN_CHANGE) OnTextChanged(*entry);
    if (entry && code == BN_CLICKED) reactions_.Clicked(*entry);
}

// The focus comes back to the control that had it when another application was activated.
void Quorvane::OnActivate(bool active) {
    if (!active) {
        focusWhenInactive_ = GetFocus();
        return;
    }
    const bool ours = focusWhenInactive_ && IsChild(window_, focusWhenInactive_);
    SetFocus(ours ? focusWhenInactive_ : Control(*FocusOrder().front()));
}

// A press on the window's face or a caption, which take no focus: held here until released.
void Quorvane::OnPress(UINT message) {
    if (message == WM_LBUTTONUP) {
        ReleaseCapture();  // ends the press, below
    } else if (message == WM_CAPTURECHANGED) {
        reactions_.PressEnded();
    } else {
        reactions_.PressBegun();
        SetCapture(window_);
    }
}

std::string Quorvane::Text(const ControlEntry& control) {
    return Narrow(TextOf(Control(control)));
}

void Quorvane::SetText(const ControlEntry& control, std::string_view text) {
    settingText_ = true;  // no text arriving from outside
    SetWindowTextW(Control(control), Widen(text).c_str());
    settingText_ = false;
}

LiveState Quorvane::Checked(const ControlEntry& control) {
    const LRESULT state = SendMessageW(Control(control), BM_GETCHECK, 0, 0);
    if (state == BST_UNCHECKED) return LiveState::Unchecked;
    return state == BST_INDETERMINATE ? LiveState::Greyed : LiveState::Checked;
}

void Quorvane::Recolour(const ControlEntry& control) {
    InvalidateRect(Control(control), nullptr, TRUE);
}

bool Quorvane::HasFocus(const ControlEntry& control) {
    return GetFocus() == Control(control);
}

void Quorvane::Focus(const ControlEntry& control) {
    SetFocus(Control(control));
}

// Once the focus events of the key or click are out: they come before a posted message.
void Quorvane::ScheduleDelivery() {
    PostMessageW(window_, kDeliver, 0, 0);
}

void Quorvane::Say(const std::string& words, bool urgent) {
    readers_.Say(window_, Widen(words), urgent);
}

void Quorvane::TellFocus(const ControlEntry& control) {
    readers_.TellFocus(Control(control));
}

const ControlEntry* Quorvane::EntryOf(HWND control) const {
    const auto found = std::ranges::find(controls_, control);
    if (!control || found == controls_.end()) return nullptr;
    return &kControls[std::size_t(found - controls_.begin())];
}

void Quorvane::Show(int how) {
    ShowWindow(window_, how);
    SetFocus(Control(*FocusOrder().front()));
}

}  // namespace quorvane::win32
