#include "text_index.h"

#include <optional>

#include "reader_text.h"

namespace quorvane {
namespace {

// The index of the text queried last, kept while that text is unchanged: one text is queried at
// a time, and a long one costs its length to index.
const ReaderIndex& IndexOf(const QString& text) {
    static QString indexed;
    static std::optional<ReaderIndex> index;
    if (!index || text.constData() != indexed.constData() || text.size() != indexed.size()) {
        indexed = text;  // shares the box's data, which the box detaches from when it changes
        index.emplace(View(text));
    }
    return *index;
}

}  // namespace

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

int UnitsOf(const QString& text, int points) {
    return IndexOf(text).Units(points);
}

int PointsOf(const QString& text, int units) {
    return IndexOf(text).Points(units);
}

}  // namespace quorvane
