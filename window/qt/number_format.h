// The window's one edge to the core's number texts: the user's locale as a NumberFormat.
#pragma once

#include "number_text.h"

class QLocale;

namespace quorvane {

// How `locale` writes numbers, as the core reads and writes them.
NumberFormat NumberFormatOf(const QLocale& locale);

// The user's number format: NumberFormatOf(QLocale()).
NumberFormat UserNumberFormat();

}  // namespace quorvane
