#include "accessible_box.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <algorithm>
#include <memory>

#include "number_box.h"
#include "reader_text.h"
#include "text_geometry.h"
#include "text_index.h"

namespace quorvane {
namespace {

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
    QString text(int start, int end) const override {
        const QString text = box()->text();
        const ReaderQuery query = Query(text);
        return Mid(text, {query.Position(start), query.Position(end)});
    }
    int characterCount() const override { return Out(int(box()->text().size())); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        const QString text = box()->text();
        const ReaderQuery query = Query(text);
        return Answer(text, query.At(query.Position(offset), UnitOf(boundary)), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        const QString text = box()->text();
        const ReaderQuery query = Query(text);
        return Answer(text, query.Before(query.Position(offset), UnitOf(boundary)), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        const QString text = box()->text();
        const ReaderQuery query = Query(text);
        return Answer(text, query.After(query.Position(offset), UnitOf(boundary)), start, end);
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
        const int position = Query(text).Position(offset);
        if (position < 0 || position > text.size()) return {};
        const LaidOutText& laidOut = Laid();
        const QRect rect = (position == text.size() ? laidOut.CaretAt(position)
                                                    : laidOut.RectOf(GraphemeAt(text, position)))
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

    // The box's text as a screen reader queries it, while `text` lives.
    ReaderQuery Query(const QString& text) const {
        return ReaderQuery(View(text), IndexOf(text), box()->cursorPosition(),
                           [&text](int unit) { return GraphemeAt(text, unit); });
    }
    static ReaderUnit UnitOf(QAccessible::TextBoundaryType boundary) {
        return boundary == QAccessible::CharBoundary   ? ReaderUnit::Character
               : boundary == QAccessible::WordBoundary ? ReaderUnit::Word
                                                       : ReaderUnit::All;
    }
    int Snap(int offset) const {
        const QString text = box()->text();
        return Query(text).Snapped(offset);
    }
    // A position in the box's text as an offset.
    int Out(int position) const { return IndexOf(box()->text()).Points(position); }
    static QString Mid(const QString& text, UnitSpan span) {
        if (span.start < 0 || span.end < span.start) return {};
        return text.mid(span.start, span.end - span.start);
    }
    static QString Answer(const QString& text, UnitSpan span, int* start, int* end) {
        *start = IndexOf(text).Points(span.start);
        *end = IndexOf(text).Points(span.end);
        return Mid(text, span);
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleBox(QLineEdit* box) {
    return new AccessibleBox(box);
}

}  // namespace quorvane
