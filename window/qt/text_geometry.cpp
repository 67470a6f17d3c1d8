#include "text_geometry.h"

#include <QGlyphRun>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <iterator>

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

}  // namespace

UnitSpan GraphemeAt(const QString& text, int offset) {
    // Found in the text around it, so that the work does not grow with a long text.
    constexpr int kReach = 64;  // far beyond any real cluster
    const int from = std::max(0, offset - kReach);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text.mid(from, 2 * kReach + 1));
    graphemes.setPosition(offset - from + 1);
    const int start = int(graphemes.toPreviousBoundary());
    return {from + start, from + int(graphemes.toNextBoundary())};
}

LaidOutText::LaidOutText(const QLineEdit* box)
    : text_(box->displayText()),
      font_(box->font()),
      starts_(text_.size() > 4 * kPieceUnits && AllLeftToRight(text_)
                  ? PieceStarts(View(text_))
                  : std::vector<int>{0, int(text_.size())}) {
    qreal left = 0;
    for (int k = 0; k + 1 < int(starts_.size()); ++k) {
        lefts_.push_back(left);
        left += Piece(k).naturalTextWidth();
    }
}

bool LaidOutText::Holds(const QLineEdit* box) const {
    const QString text = box->displayText();  // shares the box's data while unchanged
    return text.constData() == text_.constData() && text.size() == text_.size() &&
           box->font() == font_;
}

void LaidOutText::Place(const QLineEdit* box) {
    cursor_ = box->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    origin_ = cursor_.center().x() - X(box->cursorPosition());
}

int LaidOutText::PieceOf(int position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end() - 1, position);
    return std::max(0, int(after - starts_.begin()) - 1);
}

QTextLine LaidOutText::Piece(int k) const {
    if (k != laidPiece_) {
        layout_.emplace(text_.mid(starts_[k], starts_[k + 1] - starts_[k]), font_);
        QTextOption option = layout_->textOption();
        option.setFlags(QTextOption::IncludeTrailingSpaces);  // a piece may end in a blank
        layout_->setTextOption(option);
        layout_->beginLayout();
        line_ = layout_->createLine();
        layout_->endLayout();
        laidPiece_ = k;
    }
    return line_;
}

// From its glyphs: in text of mixed directions a cursor position has two places.
QRectF LaidOutText::RectOf(UnitSpan c) const {
    const int k = PieceOf(c.start);
    Piece(k);
    QRectF glyphs;
    for (const QGlyphRun& run : layout_->glyphRuns(c.start - starts_[k], c.end - c.start))
        glyphs |= run.boundingRect();
    return QRectF(origin_ + lefts_[k] + glyphs.left(), cursor_.top(), glyphs.width(),
                  cursor_.height());
}

QRectF LaidOutText::CaretAt(int position) const {
    return QRectF(origin_ + X(position), cursor_.top(), 0, cursor_.height());
}

// One beside the nearest cursor position whose extent holds x.
int LaidOutText::OffsetAt(qreal x) const {
    const auto after = std::upper_bound(lefts_.begin(), lefts_.end(), x - origin_);
    const int k = std::max(0, int(after - lefts_.begin()) - 1);
    const int near = starts_[k] + Piece(k).xToCursor(x - origin_ - lefts_[k],
                                                     QTextLine::CursorBetweenCharacters);
    for (const int offset : {near - 1, near, near + 1}) {
        if (offset < 0 || offset >= text_.size()) continue;
        const auto character = GraphemeAt(text_, offset);
        const QRectF extent = RectOf(character);
        if (x >= extent.left() && x < extent.right()) return character.start;
    }
    return -1;
}

qreal LaidOutText::X(int position) const {
    const int k = PieceOf(std::max(0, position - 1));
    return lefts_[k] + Piece(k).cursorToX(position - starts_[k]);
}

}  // namespace quorvane
