// Where a box draws its text's characters, for magnifiers and pointing: Qt's layout of the text
// on one line, placed where the box scrolls it. Positions are the box's own UTF-16 units.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <optional>
#include <vector>

#include "reader_text.h"

class QLineEdit;

namespace quorvane {

// The [start, end) of the user-perceived character (grapheme cluster) at `offset`, which is
// inside the text: "𝟑" is one character of two UTF-16 units.
UnitSpan GraphemeAt(const QString& text, int offset);

// The box's text on one line as the box lays it out, kept while its text and font stay: laying
// out a long text is the costly part of a query. A long text drawn left to right in the order of
// its characters is laid out in pieces (PieceStarts), each where the widths before it end, and
// only the piece a query falls in.
class LaidOutText {
  public:
    explicit LaidOutText(const QLineEdit* box);
    bool Holds(const QLineEdit* box) const;
    // The box scrolls and aligns its text: positions are measured from where it draws its own
    // cursor now.
    void Place(const QLineEdit* box);
    // Where a character is drawn, in the box's coordinates.
    QRectF RectOf(UnitSpan character) const;
    // The caret at `position`: zero wide, of the line's height. After the last character it is
    // where typing goes on.
    QRectF CaretAt(int position) const;
    // The character drawn at x in the box's coordinates, or -1.
    int OffsetAt(qreal x) const;

  private:
    int PieceOf(int position) const;
    QTextLine Piece(int k) const;  // laid out; the last one asked for is kept
    qreal X(int position) const;

    QString text_;
    QFont font_;
    std::vector<int> starts_;   // where each piece starts, and the text's end
    std::vector<qreal> lefts_;  // where each piece is drawn
    mutable std::optional<QTextLayout> layout_;
    mutable QTextLine line_;
    mutable int laidPiece_ = -1;
    QRectF cursor_;
    qreal origin_ = 0;
};

}  // namespace quorvane
