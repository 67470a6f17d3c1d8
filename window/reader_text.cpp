#include "reader_text.h"

#include <algorithm>
#include <utility>

namespace quorvane {
namespace {

bool High(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool Low(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// Unicode's White_Space, as far as it reaches into one unit.
bool Blank(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// Where the piece after `start` begins: a blank cut measures as the sum of its sides.
int NextPiece(std::u16string_view text, int start) {
    constexpr int kReach = 64;  // how far back a blank is looked for
    const int end = start + kPieceUnits;
    if (end >= int(text.size())) return int(text.size());
    for (int cut = end; cut > end - kReach; --cut)
        if (Blank(text[std::size_t(cut - 1)])) return cut;
    return Low(text[std::size_t(end)]) && High(text[std::size_t(end - 1)]) ? end - 1 : end;
}

}  // namespace

ReaderIndex::ReaderIndex(std::u16string_view text) : length_(int(text.size())) {
    for (int i = 0; i + 1 < length_; ++i)
        if (High(text[std::size_t(i)]) && Low(text[std::size_t(i + 1)])) {
            pairs_.push_back(i);
            pairPoints_.push_back(i - int(pairPoints_.size()));
            ++i;
        }
}

int ReaderIndex::Units(int points) const {
    // The pairs that start before the point-th character, each one unit more.
    const auto before = std::ranges::lower_bound(pairPoints_, points);
    return std::min(points + int(before - pairPoints_.begin()), length_);
}

int ReaderIndex::Points(int units) const {
    if (units < 0) return units;
    units = std::min(units, length_);
    // Less the second units of the pairs wholly before.
    const auto ended =
        std::ranges::partition_point(pairs_, [units](int pair) { return pair + 1 < units; });
    return units - int(ended - pairs_.begin());
}

UnitSpan WordSpan(std::u16string_view text) {
    UnitSpan span{0, int(text.size())};
    while (span.start < span.end && Blank(text[std::size_t(span.start)])) ++span.start;
    while (span.end > span.start && Blank(text[std::size_t(span.end - 1)])) --span.end;
    return span;
}

ReaderQuery::ReaderQuery(std::u16string_view text, const ReaderIndex& index, int cursor,
                         CharacterAt characterAt)
    : text_(text), index_(index), cursor_(cursor), characterAt_(std::move(characterAt)) {}

int ReaderQuery::Position(int offset) const {
    if (offset == -1) return int(text_.size());
    if (offset == -2) return cursor_;
    return offset < 0 ? -1 : index_.Units(offset);
}

int ReaderQuery::Snapped(int offset) const {
    const int position = std::clamp(Position(offset), 0, int(text_.size()));
    return position == int(text_.size()) ? position : characterAt_(position).start;
}

UnitSpan ReaderQuery::At(int position, ReaderUnit unit) const {
    const int count = int(text_.size());
    if (position < 0) return {-1, -1};
    if (unit == ReaderUnit::Character)
        return position == count ? UnitSpan{count, count} : characterAt_(position);
    return unit == ReaderUnit::Word ? WordSpan(text_) : UnitSpan{0, count};
}

UnitSpan ReaderQuery::Before(int position, ReaderUnit unit) const {
    const UnitSpan here = At(position, unit);
    const UnitSpan before = here.start > 0 ? At(here.start - 1, unit) : here;
    return before != here ? before : UnitSpan{0, 0};
}

UnitSpan ReaderQuery::After(int position, ReaderUnit unit) const {
    const UnitSpan here = At(position, unit);
    const int count = int(text_.size());
    const UnitSpan after = here.end >= 0 && here.end < count ? At(here.end, unit) : here;
    return after != here ? after : UnitSpan{count, count};
}

std::vector<int> PieceStarts(std::u16string_view text) {
    std::vector<int> starts;
    for (int start = 0; start < int(text.size()); start = NextPiece(text, start))
        starts.push_back(start);
    starts.push_back(int(text.size()));
    return starts;
}

}  // namespace quorvane
