#include "text_index.h"

#include <optional>

namespace quorvane {

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

// One text is queried at a time: the last one's index is kept.
const ReaderIndex& IndexOf(const QString& text) {
    static QString indexed;
    static std::optional<ReaderIndex> index;
    if (!index || text.constData() != indexed.constData() || text.size() != indexed.size()) {
        indexed = text;  // shares the box's data, which the box detaches from when it changes
        index.emplace(View(text));
    }
    return *index;
}

}  // namespace quorvane
