// The subclass of the controls that take the focus: their keys, presses, texts and focus in the
// reactions' words, and what the reactions make of a key carried out.
#include <algorithm>
#include <optional>
#include <utility>

#include "quorvane.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

// The keys the reactions take; the keypad's decimal key only by the character it types.
std::optional<Key> KeyOf(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_RETURN) return Key::Enter;
    if (key == VK_ESCAPE) return Key::Escape;
    if (control && key == VK_BACK) return Key::WordBack;
    if (control && key == VK_DELETE) return Key::WordForward;
    if (control && key == 'C') return Key::Copy;
    return std::nullopt;
}

Caret CaretOf(HWND box) {
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {GetWindowTextLengthW(box), int(end), int(start), int(end)};
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

}  // namespace

LRESULT CALLBACK Quorvane::BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, BoxProc, 0);
    return Guarded([&] {
        auto& window = *reinterpret_cast<Quorvane*>(self);
        const ControlEntry* entry = window.EntryOf(box);
        return entry ? window.OnBoxMessage(box, *entry, message, wParam, lParam)
                     : DefSubclassProc(box, message, wParam, lParam);
    });
}

// A press is reported before the control sees it, its end after the control's own click.
LRESULT Quorvane::OnBoxMessage(HWND box, const ControlEntry& entry, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter and Esc go to the control, not to the dialog manager's IDOK and IDCANCEL.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code = DefSubclassProc(box, message, wParam, lParam);
            const bool wanted = key && key->message == WM_KEYDOWN &&
                                (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE);
            return wanted ? code | DLGC_WANTALLKEYS : code;
        }
        case WM_KEYDOWN:
        case WM_CHAR:
            return OnKey(box, entry, message, wParam, lParam);
        case WM_SETTEXT:  // from outside, as a screen reader's edit
            if (!settingText_) reactions_.TextArriving(entry);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            reactions_.PressBegun();
            break;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            reactions_.PressEnded();
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            reactions_.FocusLeft(entry, EntryOf(reinterpret_cast<HWND>(wParam)));
            return result;
        }
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// A key the reactions take skips the control's own handling, and so does the character it types
// (Ctrl+Backspace's 0x7F, which no number holds, among them).
LRESULT Quorvane::OnKey(HWND box, const ControlEntry& entry, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        keypadDecimal_ = wParam == VK_DECIMAL;
        const std::optional<Key> key = KeyOf(wParam);
        swallowChar_ = key && CarryOut(box, entry, *key);
        if (swallowChar_) return 0;
    } else if (std::exchange(keypadDecimal_, false)) {
        if (CarryOut(box, entry, Key::KeypadDecimal)) return 0;
    } else if (std::exchange(swallowChar_, false)) {
        return 0;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// A replacement is typing, in effect: the box's EN_CHANGE reports it.
bool Quorvane::CarryOut(HWND box, const ControlEntry& entry, Key key) {
    const KeyAction action = reactions_.KeyPressed(entry, key, CaretOf(box));
    if (action.replace) {
        SendMessageW(box, EM_SETSEL, WPARAM(action.replace->start), LPARAM(action.replace->end));
        SendMessageW(box, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(Widen(action.with).c_str()));
    }
    if (action.copy) PutOnClipboard(window_, Widen(*action.copy));
    return action.swallow;
}

// Wine, and Windows for some keys, send EN_CHANGE for a text that did not change.
void Quorvane::OnTextChanged(const ControlEntry& entry) {
    std::wstring text = TextOf(Control(entry));
    if (std::exchange(texts_[RowIndex(entry)], text) != text) reactions_.TextChanged(entry);
}

}  // namespace quorvane::win32
