// A box's text as screen readers are told it, without any toolkit: they count characters as code
// points (AT-SPI does), boxes count UTF-16 units; a box holds one number, one word; a long line
// is measured piece by piece, so where it is cut is decided here.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace quorvane {

// Where a text's surrogate pairs are, to turn code-point offsets into UTF-16 units and back in
// logarithmic time: "𝟑𝟎" is two characters, four units.
class ReaderIndex {
  public:
    explicit ReaderIndex(std::u16string_view text);
    // The unit where the `points`-th character starts, at most the text's end.
    int Units(int points) const;
    // The characters wholly before `units`; a negative one stays as it is.
    int Points(int units) const;

  private:
    int length_ = 0;
    std::vector<int> pairs_;       // where each pair starts, in units
    std::vector<int> pairPoints_;  // and in characters
};

// [start, end) in UTF-16 units.
struct UnitSpan {
    int start = 0, end = 0;
    friend bool operator==(const UnitSpan&, const UnitSpan&) = default;
};

// A box's one word: its text without the blanks around it.
UnitSpan WordSpan(std::u16string_view text);

// What a screen reader asks a box for: a character, the box's one word, or all of it (a box is
// one line, one sentence, one paragraph).
enum class ReaderUnit { Character, Word, All };

// A box's text as a screen reader queries it. Its offsets are code points, -1 the end of the text
// and -2 the cursor; positions are UTF-16 units. A character is the grapheme cluster the toolkit
// finds at a unit inside the text.
class ReaderQuery {
  public:
    using CharacterAt = std::function<UnitSpan(int)>;
    ReaderQuery(std::u16string_view text, const ReaderIndex& index, int cursor,
                CharacterAt characterAt);
    // The position an offset stands for; -1 for any other negative one.
    int Position(int offset) const;
    // An offset's position moved back to the start of its character, within the text.
    int Snapped(int offset) const;
    // The unit at, before and after a position. Past the last character there is no character,
    // but the word and the line are still there.
    UnitSpan At(int position, ReaderUnit unit) const;      // none: {-1, -1}
    UnitSpan Before(int position, ReaderUnit unit) const;  // none: {0, 0}
    UnitSpan After(int position, ReaderUnit unit) const;   // none: the text's end, twice

  private:
    std::u16string_view text_;
    const ReaderIndex& index_;
    int cursor_;
    CharacterAt characterAt_;
};

// Where each piece of a long line starts, and the text's end: every kPieceUnits or a little
// less, just after a blank where one is near, never inside a surrogate pair.
inline constexpr int kPieceUnits = 1024;
std::vector<int> PieceStarts(std::u16string_view text);

}  // namespace quorvane
