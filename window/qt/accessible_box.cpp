#include "accessible_box.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <algorithm>
#include <memory>
#include <utility>

#include "number_box.h"
#include "reader_text.h"
#include "text_geometry.h"
#include "text_index.h"

namespace quorvane {
namespace {

constexpr std::pair<int, int> kNone = {-1, -1};

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
        if (boundary != QAccessible::WordBoundary) return {0, count};
        const UnitSpan word = WordSpan(View(text));
        return {word.start, word.end};
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleBox(QLineEdit* box) {
    return new AccessibleBox(box);
}

}  // namespace quorvane
