#include "text_geometry.h"

#include <QGlyphRun>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "reader_text.h"
#include "text_index.h"

namespace quorvane {
namespace {

// True where every character is drawn left to right at one level, in the order of the text: no
// right-to-left letters, no Arabic digits, no embeddings or isolates.
bool AllLeftToRight(const QString& text) {
    constexpr QChar::Direction kOther[] = {
        QChar::DirR,   QChar::DirAL,  QChar::DirAN,  QChar::DirLRE, QChar::DirLRO, QChar::DirRLE,
        QChar::DirRLO, QChar::DirPDF, QChar::DirLRI, QChar::DirRLI, QChar::DirFSI, QChar::DirPDI};
    for (const char32_t c : text.toUcs4())  // Adlam's are pairs
        if (std::ranges::find(kOther, QChar::direction(c)) != std::end(kOther)) return false;
    return true;
}

QRectF Glyphs(const QTextLayout& layout, int from, int length) {
    QRectF glyphs;
    for (const QGlyphRun& run : layout.glyphRuns(from, length)) glyphs |= run.boundingRect();
    return glyphs;
}

}  // namespace

std::pair<int, int> GraphemeAt(const QString& text, int offset) {
    // Found in the text around it, so that the work does not grow with a long text.
    constexpr int kReach = 64;  // far beyond any real cluster
    const int from = std::max(0, offset - kReach);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.mid(from, 2 * kReach + 1));
    graphemes.setPosition(offset - from + 1);
    const int start = int(graphemes.toPreviousBoundary());
    return {from + start, from + int(graphemes.toNextBoundary())};
}

// One line of text measured as the sum of its pieces, each laid out on its own: a query lays
// out the piece it falls in, not the whole text. Only for text drawn left to right in the
// order of its characters, where a piece's place is the widths of those before it.
class PiecewiseLine {
  public:
    PiecewiseLine(const QString& text, const QFont& font)
        : text_(text), font_(font), starts_(PieceStarts(View(text))) {
        qreal left = 0;
        for (int k = 0; k + 1 < int(starts_.size()); ++k) {
            lefts_.push_back(left);
            left += Piece(k).naturalTextWidth();
        }
    }
    qreal X(int position) const {
        const int k = PieceOf(std::max(0, position - 1));
        return lefts_.empty() ? 0 : lefts_[k] + Piece(k).cursorToX(position - starts_[k]);
    }
    QRectF GlyphsOf(std::pair<int, int> c) const {
        const int k = PieceOf(c.first);
        Piece(k);
        return Glyphs(*layout_, c.first - starts_[k], c.second - c.first).translated(lefts_[k], 0);
    }
    int XToCursor(qreal x) const {
        if (lefts_.empty()) return 0;
        const auto after = std::upper_bound(lefts_.begin(), lefts_.end(), x);
        const int k = std::max(0, int(after - lefts_.begin()) - 1);
        return starts_[k] + Piece(k).xToCursor(x - lefts_[k], QTextLine::CursorBetweenCharacters);
    }

  private:
    int PieceOf(int position) const {
        const auto after = std::upper_bound(starts_.begin(), starts_.end() - 1, position);
        return std::max(0, int(after - starts_.begin()) - 1);
    }
    // The k-th piece laid out; the last one asked for is kept.
    QTextLine Piece(int k) const {
        if (k != laidPiece_) {
            layout_.emplace(text_.mid(starts_[k], starts_[k + 1] - starts_[k]), font_);
            layout_->beginLayout();
            line_ = layout_->createLine();
            layout_->endLayout();
            laidPiece_ = k;
        }
        return line_;
    }

    QString text_;
    QFont font_;
    std::vector<int> starts_;   // where each piece starts, and the text's end
    std::vector<qreal> lefts_;  // where each piece is drawn
    mutable std::optional<QTextLayout> layout_;
    mutable QTextLine line_;
    mutable int laidPiece_ = -1;
};

LaidOutText::LaidOutText(const QLineEdit* box)
    : text_(box->displayText()), font_(box->font()), layout_(text_, font_) {
    if (text_.size() > 4 * kPieceUnits && AllLeftToRight(text_)) {
        pieces_ = std::make_unique<PiecewiseLine>(text_, font_);
        return;
    }
    QTextOption option = layout_.textOption();
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout_.setTextOption(option);
    layout_.beginLayout();
    line_ = layout_.createLine();
    layout_.endLayout();
    line_.setPosition({});
}

LaidOutText::~LaidOutText() = default;

bool LaidOutText::Holds(const QLineEdit* box) const {
    const QString text = box->displayText();  // shares the box's data while unchanged
    return text.constData() == text_.constData() && text.size() == text_.size() &&
           box->font() == font_;
}

void LaidOutText::Place(const QLineEdit* box) {
    cursor_ = box->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    origin_ = cursor_.center().x() - X(box->cursorPosition());
}

// From its glyphs: in text of mixed directions a cursor position has two places.
QRectF LaidOutText::RectOf(std::pair<int, int> c) const {
    const QRectF glyphs =
        pieces_ ? pieces_->GlyphsOf(c) : Glyphs(layout_, c.first, c.second - c.first);
    return QRectF(origin_ + glyphs.left(), cursor_.top(), glyphs.width(), cursor_.height());
}

QRectF LaidOutText::CaretAt(int position) const {
    return QRectF(origin_ + X(position), cursor_.top(), 0, cursor_.height());
}

// One beside the nearest cursor position whose extent holds x.
int LaidOutText::OffsetAt(qreal x) const {
    const int near = pieces_ ? pieces_->XToCursor(x - origin_)
                             : line_.xToCursor(x - origin_, QTextLine::CursorBetweenCharacters);
    for (const int offset : {near - 1, near, near + 1}) {
        if (offset < 0 || offset >= text_.size()) continue;
        const auto character = GraphemeAt(text_, offset);
        const QRectF extent = RectOf(character);
        if (x >= extent.left() && x < extent.right()) return character.first;
    }
    return -1;
}

qreal LaidOutText::X(int position) const {
    return pieces_ ? pieces_->X(position) : line_.cursorToX(position);
}

}  // namespace quorvane
