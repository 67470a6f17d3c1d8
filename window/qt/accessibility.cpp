#include "accessibility.h"

#include <QAccessibleWidget>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "number_box.h"

namespace quorvane {
namespace {

constexpr std::pair<int, int> kNone = {-1, -1};

// The [start, end) of the user-perceived character (grapheme cluster) at `offset`, which is
// inside the text: "𝟑" is one character of two UTF-16 units. Found in the text around it, so
// that the work does not grow with a long text.
std::pair<int, int> GraphemeAt(const QString& text, int offset) {
    constexpr int kReach = 64;  // far beyond any real cluster
    const int from = std::max(0, offset - kReach);
    const QString around = text.mid(from, 2 * kReach + 1);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, around);
    graphemes.setPosition(offset - from + 1);
    const int start = int(graphemes.toPreviousBoundary());
    return {from + start, from + int(graphemes.toNextBoundary())};
}

// A box holds one number: its one word is its text without the blanks around it.
std::pair<int, int> TrimmedSpan(const QString& text) {
    int start = 0, end = int(text.size());
    while (start < end && text[start].isSpace()) ++start;
    while (end > start && text[end - 1].isSpace()) --end;
    return {start, end};
}

// True where every character of the text is drawn left to right at one level, in the order of
// the text: no right-to-left letters, no Arabic digits, no embeddings or isolates.
bool AllLeftToRight(const QString& text) {
    for (const char32_t c : text.toUcs4()) switch (QChar::direction(c)) {  // Adlam's are pairs
            case QChar::DirR:
            case QChar::DirAL:
            case QChar::DirAN:
            case QChar::DirLRE:
            case QChar::DirLRO:
            case QChar::DirRLE:
            case QChar::DirRLO:
            case QChar::DirPDF:
            case QChar::DirLRI:
            case QChar::DirRLI:
            case QChar::DirFSI:
            case QChar::DirPDI:
                return false;
            default:
                break;
        }
    return true;
}

// One line of text measured as the sum of its pieces, each laid out on its own: a query lays
// out the piece it falls in, not the whole text. Only for text drawn left to right in the
// order of its characters, where a piece's place is the widths of those before it.
class PiecewiseLine {
  public:
    static constexpr int kPiece = 1024;  // UTF-16 units, moved to a character boundary

    PiecewiseLine(const QString& text, const QFont& font) : text_(text), font_(font) {
        for (int start = 0; start < text.size();) {
            starts_.push_back(start);
            const int end = start + kPiece;
            start = end >= text.size() ? int(text.size())
                                       : std::max(GraphemeAt(text, end).first, start + 1);
        }
        starts_.push_back(int(text.size()));
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
    QRectF GlyphsOf(std::pair<int, int> character) const {
        const int k = PieceOf(character.first);
        Piece(k);
        QRectF glyphs;
        for (const QGlyphRun& run :
             layout_->glyphRuns(character.first - starts_[k], character.second - character.first))
            glyphs |= run.boundingRect();
        return glyphs.translated(lefts_[k], 0);
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

// The box's text on one line, laid out as the box lays it out, kept while its text and font
// stay: laying out a long text is the costly part of a query.
class LaidOutText {
  public:
    explicit LaidOutText(const QLineEdit* box)
        : text_(box->displayText()), font_(box->font()), layout_(text_, font_) {
        if (text_.size() > 4 * PiecewiseLine::kPiece && AllLeftToRight(text_)) {
            pieces_.emplace(text_, font_);
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
    bool Holds(const QLineEdit* box) const {
        const QString text = box->displayText();  // shares the box's data while unchanged
        return text.constData() == text_.constData() && text.size() == text_.size() &&
               box->font() == font_;
    }
    // The box scrolls and aligns its text: positions are measured from where it draws its own
    // cursor now.
    void Place(const QLineEdit* box) {
        cursor_ = box->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        origin_ = cursor_.center().x() - X(box->cursorPosition());
    }
    // Where a character is drawn, in the box's coordinates. From its glyphs: in text of mixed
    // directions a cursor position has two places.
    QRectF RectOf(std::pair<int, int> character) const {
        QRectF glyphs;
        if (pieces_) {
            glyphs = pieces_->GlyphsOf(character);
        } else {
            for (const QGlyphRun& run :
                 layout_.glyphRuns(character.first, character.second - character.first))
                glyphs |= run.boundingRect();
        }
        return QRectF(origin_ + glyphs.left(), cursor_.top(), glyphs.width(), cursor_.height());
    }
    // The caret at `position`: a zero-width rectangle where the box draws its cursor there, of
    // the line's height. After the last character it is where typing goes on.
    QRectF CaretAt(int position) const {
        return QRectF(origin_ + X(position), cursor_.top(), 0, cursor_.height());
    }
    // The character drawn at x in the box's coordinates, or -1: one beside the nearest cursor
    // position whose extent holds x.
    int OffsetAt(qreal x) const {
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

  private:
    qreal X(int position) const {
        return pieces_ ? pieces_->X(position) : line_.cursorToX(position);
    }

    QString text_;
    QFont font_;
    QTextLayout layout_;
    QTextLine line_;
    std::optional<PiecewiseLine> pieces_;  // a long text's measure, where it may be summed
    QRectF cursor_;
    qreal origin_ = 0;
};

// Screen readers count characters as code points (AT-SPI does, and Qt's bridge passes offsets
// through); a box counts UTF-16 units: "𝟑𝟎" is two characters, four units. Where a text's
// pairs of units are, to turn one into the other in logarithmic time.
class TextIndex {
  public:
    explicit TextIndex(const QString& text) : text_(text) {
        for (int i = 0; i + 1 < text.size(); ++i)
            if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
                pairs_.push_back(i);
                pairCharacters_.push_back(i - int(pairCharacters_.size()));
                ++i;
            }
    }
    bool Holds(const QString& text) const {
        return text.constData() == text_.constData() && text.size() == text_.size();
    }
    int Units(int points) const {
        // The pairs that start before the point-th character, each one unit more.
        const auto before =
            std::lower_bound(pairCharacters_.begin(), pairCharacters_.end(), points);
        return std::min(points + int(before - pairCharacters_.begin()), int(text_.size()));
    }
    int Points(int units) const {
        if (units < 0) return units;
        units = std::min(units, int(text_.size()));
        // Less the second units of the pairs wholly before.
        const auto ended = std::partition_point(pairs_.begin(), pairs_.end(),
                                                [units](int pair) { return pair + 1 < units; });
        return units - int(ended - pairs_.begin());
    }

  private:
    QString text_;
    std::vector<int> pairs_;           // where each pair starts, in units
    std::vector<int> pairCharacters_;  // and in characters
};

const TextIndex& IndexOf(const QString& text) {
    static std::optional<TextIndex> index;  // one text is queried at a time
    if (!index || !index->Holds(text)) index.emplace(text);
    return *index;
}
int UnitsOf(const QString& text, int points) {
    return IndexOf(text).Units(points);
}
int PointsOf(const QString& text, int units) {
    return IndexOf(text).Points(units);
}

// A single-line text box as screen readers query it. Every query answers at once: a box is one
// word, one line, one paragraph, one sentence; characters are grapheme clusters. Offsets are
// code points; -1 is the end of the text, -2 the cursor. Inside, positions are the box's own.
class AccessibleBox : public QAccessibleWidget,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface {
  public:
    explicit AccessibleBox(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !box()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = box()->isReadOnly();
        state.editable = !state.readOnly;
        state.selectableText = true;
        return state;
    }

    // Selection and cursor: one selection at most, on character boundaries.
    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && box()->hasSelectedText();
        *start = any ? Out(box()->selectionStart()) : 0;
        *end = any ? Out(box()->selectionEnd()) : 0;
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) box()->setSelection(Snap(start), Snap(end) - Snap(start));
    }
    int cursorPosition() const override { return Out(box()->cursorPosition()); }
    void setCursorPosition(int position) override { box()->setCursorPosition(Snap(position)); }

    // Text.
    QString text(int start, int end) const override { return Mid(Resolve(start), Resolve(end)); }
    int characterCount() const override { return Out(int(box()->text().size())); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return Answer(Segment(Resolve(offset), boundary), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        const auto here = Segment(Resolve(offset), boundary);
        const auto before = here.first > 0 ? Segment(here.first - 1, boundary) : here;
        return Answer(before != here ? before : std::pair(0, 0), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        const auto here = Segment(Resolve(offset), boundary);
        const int count = int(box()->text().size());
        const auto after =
            here.second >= 0 && here.second < count ? Segment(here.second, boundary) : here;
        return Answer(after != here ? after : std::pair(count, count), start, end);
    }
    // One run without attributes over the whole text: Orca builds what it speaks from these runs.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Geometry, for magnifiers and pointing: where the box draws each character now, and the
    // caret after the last one.
    QRect characterRect(int offset) const override {
        const QString text = box()->text();
        offset = Resolve(offset);
        if (offset < 0 || offset > text.size()) return {};
        const LaidOutText& laidOut = Laid();
        const QRect rect = (offset == text.size() ? laidOut.CaretAt(offset)
                                                  : laidOut.RectOf(GraphemeAt(text, offset)))
                               .toAlignedRect();
        return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->mapFromGlobal(point);
        if (!box()->rect().contains(local)) return -1;
        return Out(Laid().OffsetAt(local.x()));
    }
    // The box scrolls to its cursor; a selection stays, its end nearer the text taking the
    // cursor.
    void scrollToSubstring(int start, int) override {
        if (!box()->hasSelectedText()) return box()->setCursorPosition(Snap(start));
        const int from = box()->selectionStart(), to = box()->selectionEnd();
        if (Snap(start) < from)
            box()->setSelection(to, from - to);
        else
            box()->setSelection(from, to - from);
    }

    // Editing, for boxes that are not read-only: as typing there would, it gives the box the
    // focus first, so that leaving it afterwards reacts as always.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (auto* number = dynamic_cast<NumberBox*>(box()))
            number->TextArriving();
        else
            box()->setFocus(Qt::OtherFocusReason);
        box()->setSelection(Snap(start), Snap(end) - Snap(start));
        box()->insert(text);
    }

  private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    // The box's text laid out, kept while its text and font stay, and placed again only when
    // it may have scrolled: asking the box where its cursor is costs as much as its text.
    mutable std::unique_ptr<LaidOutText> laidOut_;
    mutable std::pair<int, int> placedAt_;  // cursor position and width it was placed at
    const LaidOutText& Laid() const {
        const std::pair<int, int> at(box()->cursorPosition(), box()->width());
        if (!laidOut_ || !laidOut_->Holds(box())) {
            laidOut_ = std::make_unique<LaidOutText>(box());
        } else if (at == placedAt_) {
            return *laidOut_;
        }
        laidOut_->Place(box());
        placedAt_ = at;
        return *laidOut_;
    }

    // An offset as a position in the box's text: -1 is the end, -2 the cursor; other negative
    // ones are none (-1).
    int Resolve(int offset) const {
        const QString text = box()->text();
        if (offset == -1) return int(text.size());
        if (offset == -2) return box()->cursorPosition();
        return offset < 0 ? -1 : UnitsOf(text, offset);
    }
    // A position in the box's text as an offset.
    int Out(int position) const { return PointsOf(box()->text(), position); }
    QString Mid(int start, int end) const {
        if (start < 0 || end < start) return {};
        return box()->text().mid(start, end - start);
    }
    QString Answer(std::pair<int, int> span, int* start, int* end) const {
        *start = Out(span.first);
        *end = Out(span.second);
        return Mid(span.first, span.second);
    }
    // A position on a character boundary: the start of the character it falls in.
    int Snap(int offset) const {
        const QString text = box()->text();
        const int position = std::clamp(Resolve(offset), 0, int(text.size()));
        return position == text.size() ? position : GraphemeAt(text, position).first;
    }
    // The [start, end) of the piece of text at `position`. Past the last character there is no
    // character, but the word and line are still there.
    std::pair<int, int> Segment(int position, QAccessible::TextBoundaryType boundary) const {
        const QString text = box()->text();
        const int count = int(text.size());
        if (position < 0) return kNone;
        if (boundary == QAccessible::CharBoundary)
            return position == count ? std::pair(count, count) : GraphemeAt(text, position);
        return boundary == QAccessible::WordBoundary ? TrimmedSpan(text) : std::pair(0, count);
    }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
    if (!object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // The calculator's own boxes only: other line edits in the process keep Qt's own.
    if (className == "quorvane::NumberBox")
        return new AccessibleBox(static_cast<QLineEdit*>(widget));
    // The window as a window with its title, not a filler.
    if (className == "quorvane::Quorvane")
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == "quorvane::Announcer")
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

QAccessible::UpdateHandler previousHandler = nullptr;
void Update(QAccessibleEvent* event);

// On to the handler before ours, else to the platform's bridge.
void Forward(QAccessibleEvent* event) {
    if (previousHandler) return previousHandler(event);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Update);
}

// A box tells of its changes in UTF-16 positions, which Qt's bridge passes on as they are:
// screen readers are told code points, as everywhere else.
void Update(QAccessibleEvent* event) {
    auto* box = qobject_cast<NumberBox*>(event->object());
    if (!box) return Forward(event);
    const QString text = box->text();
    const auto points = [&text](int units) { return PointsOf(text, units); };
    switch (event->type()) {
        case QAccessible::TextInserted: {
            const auto& e = static_cast<const QAccessibleTextInsertEvent&>(*event);
            QAccessibleTextInsertEvent told(box, points(e.changePosition()), e.textInserted());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextRemoved: {
            const auto& e = static_cast<const QAccessibleTextRemoveEvent&>(*event);
            QAccessibleTextRemoveEvent told(box, points(e.changePosition()), e.textRemoved());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextUpdated: {
            const auto& e = static_cast<const QAccessibleTextUpdateEvent&>(*event);
            QAccessibleTextUpdateEvent told(box, points(e.changePosition()), e.textRemoved(),
                                            e.textInserted());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextSelectionChanged: {
            auto& e = static_cast<QAccessibleTextSelectionEvent&>(*event);
            e.setSelection(points(e.selectionStart()), points(e.selectionEnd()));
            e.setCursorPosition(points(e.cursorPosition()));
            return Forward(event);
        }
        case QAccessible::TextCaretMoved: {
            auto& e = static_cast<QAccessibleTextCursorEvent&>(*event);
            e.setCursorPosition(points(e.cursorPosition()));
            return Forward(event);
        }
        default:
            return Forward(event);
    }
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateAccessible);
        previousHandler = QAccessible::installUpdateHandler(Update);
        return true;
    }();
    Q_UNUSED(installed);
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName("Announcer");
    setFixedSize(0, 0);
    hide();
    // A screen reader asks about a notification over D-Bus after it is told of it: hidden any
    // sooner, it is found no longer showing, and may go unspoken.
    hiding_.setSingleShot(true);
    hiding_.setInterval(2000);
    connect(&hiding_, &QTimer::timeout, this, &QWidget::hide);
}

void Announcer::Announce(const QString& message) {
    // A notification is spoken as it is shown; the same words again are a new showing.
    hide();
    setAccessibleName(message);
    show();
    hiding_.start();
}

void Announcer::TellFocus(QWidget* control) {
    QAccessibleEvent focus(control, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    emit FocusTold(control);
}

}  // namespace quorvane
