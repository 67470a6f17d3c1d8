#include "number_format.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace quorvane {
namespace {

// Qt 6.4 has no public call for group sizes, so they are read off its own output: nines of
// every length from 4 to 10 digits, grouped ("99,99,999" in India, "9999 999" in Poland).
GroupSizes GroupSizesOf(QLocale locale) {
    locale.setNumberOptions(QLocale::DefaultNumberOptions);  // grouping on, even in C
    GroupSizes sizes;
    int leadingMax = 0;
    for (double nines = 9'999; nines < 1e10; nines = nines * 10 + 9) {
        const QStringList groups = locale.toString(nines, 'f', 0).split(locale.groupSeparator());
        if (groups.size() < 2) continue;
        const auto digits = [](const QString& group) { return int(group.toUcs4().size()); };
        leadingMax = std::max(leadingMax, digits(groups.front()));
        sizes.last = digits(groups.back());
        if (groups.size() > 2) sizes.middle = digits(groups[groups.size() - 2]);
    }
    if (leadingMax > 0) sizes.leadingMax = leadingMax;
    return sizes;
}

}  // namespace

NumberFormat NumberFormatOf(const QLocale& locale) {
    return {.decimal = locale.decimalPoint().toStdString(),
            .group = locale.groupSeparator().toStdString(),
            .groupSizes = GroupSizesOf(locale),
            .zero = locale.zeroDigit().toUcs4().value(0, U'0'),
            .minus = locale.negativeSign().toStdString(),
            .plus = locale.positiveSign().toStdString()};
}

NumberFormat UserNumberFormat() {
    return NumberFormatOf(QLocale());
}

}  // namespace quorvane
