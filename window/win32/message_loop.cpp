// The program's message loop, the dialog manager first.
#include "quorvane.h"

namespace quorvane::win32 {

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
