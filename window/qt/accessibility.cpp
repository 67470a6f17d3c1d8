#include "accessibility.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

namespace quorvane {
namespace {

// A single-line text box as screen readers query it. Every query answers at once: a box is one
// line, one paragraph, one sentence; words come from Unicode's word boundaries.
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

    // Selection and cursor.
    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && box()->hasSelectedText();
        *start = any ? box()->selectionStart() : 0;
        *end = any ? *start + int(box()->selectedText().size()) : 0;
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    // Text.
    QString text(int start, int end) const override {
        return box()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(box()->text().size()); }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        std::tie(*start, *end) = Segment(offset, boundary);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        const int here = Segment(offset, boundary).first;
        std::tie(*start, *end) = here > 0 ? Segment(here - 1, boundary) : std::pair(0, 0);
        return text(*start, *end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        const int next = Segment(offset, boundary).second;
        const int count = characterCount();
        std::tie(*start, *end) = next < count ? Segment(next, boundary) : std::pair(count, count);
        return text(*start, *end);
    }
    // One run without attributes over the whole text: Orca builds what it speaks from these runs.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Geometry, for magnifiers and pointing.
    QRect characterRect(int offset) const override {
        const QFontMetrics metrics = box()->fontMetrics();
        const QString text = box()->text();
        const QRect inside = box()->contentsRect().marginsRemoved(box()->textMargins());
        const QRect rect(inside.left() + metrics.horizontalAdvance(text.left(offset)), inside.top(),
                         metrics.horizontalAdvance(text.mid(offset, 1)), inside.height());
        return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }

    // Editing, for boxes that are not read-only.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        box()->setSelection(start, end - start);
        box()->insert(text);
    }

  private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }

    // The [start, end) of the piece of text that `offset` is in. Past the last character there
    // is no character, but the last word and line are still there.
    std::pair<int, int> Segment(int offset, QAccessible::TextBoundaryType boundary) const {
        const QString text = box()->text();
        const int count = int(text.size());
        if (boundary == QAccessible::CharBoundary && offset >= count) return {count, count};
        if (count == 0) return {0, 0};
        offset = std::clamp(offset, 0, count - 1);
        if (boundary == QAccessible::CharBoundary) return {offset, offset + 1};
        if (boundary != QAccessible::WordBoundary) return {0, count};
        QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
        words.setPosition(offset + 1);
        const int start = int(words.toPreviousBoundary());
        const int end = int(words.toNextBoundary());
        return {std::max(start, 0), end < 0 ? count : end};
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
    // A notification is spoken as it is shown; hidden first, so that the same words again are
    // a new showing.
    hide();
    setAccessibleName(message);
    show();
}

}  // namespace quorvane
