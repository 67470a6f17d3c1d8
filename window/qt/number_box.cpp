#include "number_box.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "rules.h"

namespace quorvane {

// A double-click selects the whole number, not the digits on one side of its decimal
// separator: what is then copied or middle-click pasted is the number.
void NumberBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);  // keeps triple-click working
    if (event->button() == Qt::LeftButton) selectAll();
}

// A box holds one number, one word to screen readers: moving or deleting by words goes over all
// of it, not to its sign, separator or exponent.
void NumberBox::keyPressEvent(QKeyEvent* event) {
    const bool toStart = event == QKeySequence::DeleteStartOfWord;
    if (event == QKeySequence::MoveToNextWord || event == QKeySequence::SelectNextWord) {
        end(event == QKeySequence::SelectNextWord);
    } else if (event == QKeySequence::MoveToPreviousWord ||
               event == QKeySequence::SelectPreviousWord) {
        home(event == QKeySequence::SelectPreviousWord);
    } else if (toStart || event == QKeySequence::DeleteEndOfWord) {
        if (isReadOnly()) return;
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
        const TextSpan span =
            WordKeyDeletion(int(text().size()), cursorPosition(), start, end, toStart);
        if (span.start == span.end) return;
        setSelection(span.start, span.end - span.start);
        del();  // deletes the selection, as one step to undo
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void NumberBox::dropEvent(QDropEvent* event) {
    if (!isReadOnly()) TextArriving();
    QLineEdit::dropEvent(event);
}

}  // namespace quorvane
