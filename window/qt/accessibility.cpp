#include "accessibility.h"

#include <QAccessibleWidget>
#include <QGlyphRun>
#include <QLineEdit>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "number_box.h"

namespace quorvane {
namespace {

constexpr std::pair<int, int> kNone = {-1, -1};

// The [start, end) of the user-perceived character (grapheme cluster) at `offset`, which is
// inside the text: "𝟑" is one character of two UTF-16 units.
std::pair<int, int> GraphemeAt(const QString& text, int offset) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(offset + 1);
    const int start = int(graphemes.toPreviousBoundary());
    return {start, int(graphemes.toNextBoundary())};
}

// A box holds one number: its one word is its text without the blanks around it.
std::pair<int, int> TrimmedSpan(const QString& text) {
    int start = 0, end = int(text.size());
    while (start < end && text[start].isSpace()) ++start;
    while (end > start && text[end - 1].isSpace()) --end;
    return {start, end};
}

// The box's text on one line, laid out as the box lays it out.
class LaidOutText {
  public:
    explicit LaidOutText(const QLineEdit* box)
        : text_(box->displayText()), layout_(text_, box->font()) {
        QTextOption option = layout_.textOption();
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout_.setTextOption(option);
        layout_.beginLayout();
        line_ = layout_.createLine();
        layout_.endLayout();
        // The box scrolls and aligns its text: positions are measured from where it draws
        // its own cursor.
        line_.setPosition({});
        cursor_ = box->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        int cursor = box->cursorPosition();
        origin_ = cursor_.center().x() - line_.cursorToX(&cursor);
    }
    // Where a character is drawn, in the box's coordinates. From its glyphs: in text of mixed
    // directions a cursor position has two places.
    QRectF RectOf(std::pair<int, int> character) const {
        QRectF glyphs;
        for (const QGlyphRun& run :
             layout_.glyphRuns(character.first, character.second - character.first))
            glyphs |= run.boundingRect();
        return QRectF(origin_ + glyphs.left(), cursor_.top(), glyphs.width(), cursor_.height());
    }
    // The character drawn at x in the box's coordinates, or -1: one beside the nearest cursor
    // position whose extent holds x.
    int OffsetAt(qreal x) const {
        const int near = line_.xToCursor(x - origin_, QTextLine::CursorBetweenCharacters);
        for (const int offset : {near - 1, near, near + 1}) {
            if (offset < 0 || offset >= text_.size()) continue;
            const auto character = GraphemeAt(text_, offset);
            const QRectF extent = RectOf(character);
            if (x >= extent.left() && x < extent.right()) return character.first;
        }
        return -1;
    }

  private:
    QString text_;
    QTextLayout layout_;
    QTextLine line_;
    QRectF cursor_;
    qreal origin_ = 0;
};

// A single-line text box as screen readers query it. Every query answers at once: a box is one
// word, one line, one paragraph, one sentence; characters are grapheme clusters. Offsets are
// UTF-16 positions, as the box's own; -1 is the end of the text, -2 the cursor.
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
        *start = any ? box()->selectionStart() : 0;
        *end = any ? box()->selectionEnd() : 0;
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) box()->setSelection(Snap(start), Snap(end) - Snap(start));
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(Snap(position)); }

    // Text.
    QString text(int start, int end) const override {
        const QString text = box()->text();
        start = Resolve(start);
        end = Resolve(end);
        if (start < 0 || end < start) return {};
        return text.mid(start, end - start);
    }
    int characterCount() const override { return int(box()->text().size()); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        std::tie(*start, *end) = Segment(offset, boundary);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        const auto here = Segment(offset, boundary);
        const auto before = here.first > 0 ? Segment(here.first - 1, boundary) : here;
        std::tie(*start, *end) = before != here ? before : std::pair(0, 0);
        return text(*start, *end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        const auto here = Segment(offset, boundary);
        const int count = characterCount();
        const auto after =
            here.second >= 0 && here.second < count ? Segment(here.second, boundary) : here;
        std::tie(*start, *end) = after != here ? after : std::pair(count, count);
        return text(*start, *end);
    }
    // One run without attributes over the whole text: Orca builds what it speaks from these runs.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Geometry, for magnifiers and pointing: where the box draws each character now.
    QRect characterRect(int offset) const override {
        const QString text = box()->text();
        offset = Resolve(offset);
        if (offset < 0 || offset >= text.size()) return {};
        const QRect rect = LaidOutText(box()).RectOf(GraphemeAt(text, offset)).toAlignedRect();
        return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->mapFromGlobal(point);
        if (!box()->rect().contains(local)) return -1;
        return LaidOutText(box()).OffsetAt(local.x());
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

    // An offset as a position in the text: -1 is the end, -2 the cursor; other negative ones
    // are none (-1).
    int Resolve(int offset) const {
        if (offset == -1) return characterCount();
        if (offset == -2) return cursorPosition();
        return offset < 0 ? -1 : std::min(offset, characterCount());
    }
    // A position on a character boundary: the start of the character it falls in.
    int Snap(int position) const {
        const QString text = box()->text();
        position = std::clamp(Resolve(position), 0, int(text.size()));
        return position == text.size() ? position : GraphemeAt(text, position).first;
    }
    // The [start, end) of the piece of text at `offset`. Past the last character there is no
    // character, but the word and line are still there.
    std::pair<int, int> Segment(int offset, QAccessible::TextBoundaryType boundary) const {
        const QString text = box()->text();
        const int count = int(text.size());
        offset = Resolve(offset);
        if (offset < 0) return kNone;
        if (boundary == QAccessible::CharBoundary)
            return offset == count ? std::pair(count, count) : GraphemeAt(text, offset);
        return boundary == QAccessible::WordBoundary ? TrimmedSpan(text) : std::pair(0, count);
    }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
    if (!object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == "QLineEdit") return new AccessibleBox(static_cast<QLineEdit*>(widget));
    // The window as a window with its title, not a filler.
    if (className == "quorvane::Quorvane")
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == "quorvane::Announcer")
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName("Announcer");
    setFixedSize(0, 0);
    hide();
}

void Announcer::Announce(const QString& message) {
    // A notification is spoken as it is shown, and hidden at once: no stale words stay in the
    // tree, and the same words again are a new showing.
    setAccessibleName(message);
    show();
    hide();
}

void Announcer::TellFocus(QWidget* control) {
    QAccessibleEvent focus(control, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    emit FocusTold(control);
}

}  // namespace quorvane
