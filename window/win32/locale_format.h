// The user's locale, as Windows keeps it, as the core's NumberFormat.
#pragma once

#include <string>
#include <string_view>

#include "number_text.h"

namespace quorvane::win32 {

// What GetLocaleInfoEx says of how a locale writes numbers.
struct LocaleNumbers {
    std::wstring decimal = L".";       // LOCALE_SDECIMAL
    std::wstring thousand = L",";      // LOCALE_STHOUSAND
    std::wstring grouping = L"3;0";    // LOCALE_SGROUPING
    std::wstring negativeSign = L"-";  // LOCALE_SNEGATIVESIGN
    std::wstring positiveSign = L"";   // LOCALE_SPOSITIVESIGN, often empty
    int digitSubstitution = 1;         // LOCALE_IDIGITSUBSTITUTION: 0 context, 1 none, 2 native
    std::wstring nativeDigits = L"0123456789";  // LOCALE_SNATIVEDIGITS
};

// "3;0" (groups of three), "3;2;0" (Indian lakhs), "3" (one group, then none).
GroupSizes GroupSizesOf(std::wstring_view grouping);

NumberFormat NumberFormatOf(const LocaleNumbers& numbers);

// The user's locale: LOCALE_NAME_USER_DEFAULT.
LocaleNumbers UserLocaleNumbers();

}  // namespace quorvane::win32
