// The controls, one for each row of the table, in creation order, and their end.
#include "quorvane.h"
#include "rules.h"
#include "text.h"

namespace quorvane::win32 {
namespace {

constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL, which Enter and Esc send

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

// Every row but the line, which the window draws itself; the tab order is the creation order.
// The controls that take the focus are subclassed: their keys, presses and focus go to the
// reactions.
void Quorvane::CreateControls() {
    for (const ControlEntry* entry : CreationOrder())
        if (entry->kind != ControlKind::Line) controls_[RowIndex(*entry)] = CreateControl(*entry);
    for (const ControlEntry& entry : kControls)
        if (TakesFocus(&entry))
            SetWindowSubclass(Control(entry), BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    const ControlEntry& live = Row("LiveCalc");
    SendMessageW(Control(live), BM_SETCHECK, live.checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND Quorvane::CreateControl(const ControlEntry& entry) {
    const ClassAndStyle kind = ClassOf(entry);
    texts_[RowIndex(entry)] = Widen(DefaultText(entry, reactions_.Format()));  // no edit
    const auto id = kFirstId + RowIndex(entry);
    HWND control =
        CreateWindowExW(kind.exStyle, kind.className, texts_[RowIndex(entry)].c_str(), kind.style,
                        0, 0, 0, 0, window_, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    if (entry.kind == ControlKind::TextBox) {
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no length limit of its own
        SendMessageW(control, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(WholeNumber));
    }
    annotations_.Describe(control, entry);
    return control;
}

void Quorvane::OnDestroy() {
    for (const ControlEntry& entry : kControls) {
        if (!Control(entry)) continue;
        annotations_.Clear(Control(entry));
        if (entry.kind == ControlKind::Picture)
            DeleteObject(reinterpret_cast<HBITMAP>(
                SendMessageW(Control(entry), STM_SETIMAGE, IMAGE_BITMAP, 0)));
    }
    PostQuitMessage(0);
}

}  // namespace quorvane::win32
