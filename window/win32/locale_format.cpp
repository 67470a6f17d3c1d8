#include "locale_format.h"

#include <windows.h>

#include <vector>

#include "text.h"

namespace quorvane::win32 {
namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[64] = {};
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 64) > 0 ? buffer : L"";
}

// The first code point of a UTF-16 text.
char32_t FirstCodePoint(std::wstring_view text) {
    if (text.empty()) return U'0';
    if (text.size() > 1 && IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]))
        return 0x10000 + ((char32_t(text[0]) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
    return text[0];
}

}  // namespace

GroupSizes GroupSizesOf(std::wstring_view grouping) {
    std::vector<int> sizes{0};
    for (const wchar_t c : grouping) {
        if (c == L';')
            sizes.push_back(0);
        else if (c >= L'0' && c <= L'9')
            sizes.back() = sizes.back() * 10 + (c - L'0');
    }
    // A trailing 0 repeats the group before it; without it, the leading group takes the rest.
    const bool repeats = sizes.size() > 1 && sizes.back() == 0;
    if (repeats) sizes.pop_back();
    GroupSizes groups;
    if (sizes.front() <= 0) return groups;
    groups.last = sizes.front();
    groups.middle = sizes.size() > 1 ? sizes[1] : sizes.front();
    groups.leadingMax = repeats ? groups.middle : 99;
    return groups;
}

NumberFormat NumberFormatOf(const LocaleNumbers& numbers) {
    NumberFormat format;
    if (!numbers.decimal.empty()) format.decimal = Narrow(numbers.decimal);
    if (!numbers.thousand.empty()) format.group = Narrow(numbers.thousand);
    format.groupSizes = GroupSizesOf(numbers.grouping);
    if (numbers.digitSubstitution == 2) format.zero = FirstCodePoint(numbers.nativeDigits);
    if (!numbers.negativeSign.empty()) format.minus = Narrow(numbers.negativeSign);
    if (!numbers.positiveSign.empty()) format.plus = Narrow(numbers.positiveSign);
    return format;
}

LocaleNumbers UserLocaleNumbers() {
    LocaleNumbers numbers{.decimal = LocaleText(LOCALE_SDECIMAL),
                          .thousand = LocaleText(LOCALE_STHOUSAND),
                          .grouping = LocaleText(LOCALE_SGROUPING),
                          .negativeSign = LocaleText(LOCALE_SNEGATIVESIGN),
                          .positiveSign = LocaleText(LOCALE_SPOSITIVESIGN),
                          .nativeDigits = LocaleText(LOCALE_SNATIVEDIGITS)};
    DWORD substitution = 1;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDIGITSUBSTITUTION | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&substitution), sizeof substitution / 2) > 0)
        numbers.digitSubstitution = int(substitution);
    return numbers;
}

}  // namespace quorvane::win32
