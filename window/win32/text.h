// The window's one edge to the core's texts: UTF-16 of Win32 to and from the core's UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvane::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A control's whole text.
std::wstring TextOf(HWND control);

}  // namespace quorvane::win32
