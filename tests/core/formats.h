// Locale separators pinned for the tests, never taken from the machine.
#pragma once

#include <array>

#include "number_text.h"

namespace quorvane::test {

inline const NumberFormat kEnglish{".", ","};
inline const NumberFormat kGerman{",", "."};
inline const NumberFormat kFrench{",", "\u202F"};  // narrow no-break space
inline const NumberFormat kSwiss{".", "\u2019"};   // right single quotation mark

inline const NumberFormat kIndian{".", ",", {.last = 3, .middle = 2, .leadingMax = 2}};
inline const NumberFormat kPolish{",", "\u00A0", {.last = 3, .middle = 3, .leadingMax = 4}};
inline const NumberFormat kSwedish{",", "\u00A0", {}, U'0', "\u2212"};
inline const NumberFormat kArabic{"\u066B", "\u066C", {}, U'\u0660', "\u061C-", "\u061C+"};
inline const NumberFormat kPersian{"\u066B", "\u066C", {}, U'\u06F0', "\u200E\u2212"};
inline const NumberFormat kAdlam{".", "\u2E41", {}, U'\U0001E950'};  // digits beyond 16 bits

inline const std::array<const NumberFormat*, 9> kAllFormats = {
    &kEnglish, &kGerman, &kFrench, &kSwiss, &kIndian, &kPolish, &kSwedish, &kArabic, &kAdlam};

}  // namespace quorvane::test
