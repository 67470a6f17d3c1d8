// A box's text as screen readers count it (the shared ReaderIndex), for the one text being
// queried: indexing a long text costs its length.
#pragma once

#include <QString>
#include <string_view>

#include "reader_text.h"

namespace quorvane {

std::u16string_view View(const QString& text);

// The index of `text`, kept while the text is unchanged.
const ReaderIndex& IndexOf(const QString& text);

}  // namespace quorvane
