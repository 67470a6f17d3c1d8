// Locale separators pinned for the tests, never taken from the machine.
#pragma once

#include <array>

#include "number_text.h"

namespace quorvane::test {

inline const NumberFormat kEnglish{".", ","};
inline const NumberFormat kGerman{",", "."};
inline const NumberFormat kFrench{",", "\u202F"};  // narrow no-break space
inline const NumberFormat kSwiss{".", "\u2019"};   // right single quotation mark

inline const std::array<const NumberFormat*, 4> kAllFormats = {&kEnglish, &kGerman, &kFrench,
                                                               &kSwiss};

}  // namespace quorvane::test
