#include "text.h"

namespace quorvane::win32 {

std::wstring Widen(std::string_view utf8) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
    return wide;
}

std::string Narrow(std::wstring_view utf16) {
    // A lone surrogate becomes U+FFFD, which no number holds: the core then refuses the text.
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

std::wstring TextOf(HWND control) {
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return text;
}

}  // namespace quorvane::win32
