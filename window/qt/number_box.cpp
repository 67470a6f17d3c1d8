#include "number_box.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace quorvane {

// A double-click selects the whole number, not the digits on one side of its decimal
// separator: what is then copied or middle-click pasted is the number.
void NumberBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);  // keeps triple-click working
    if (event->button() == Qt::LeftButton) selectAll();
}

// Moving by words goes over the whole number, not to its sign, separator or exponent; the word
// keys that delete are the window's (KeyPressed).
void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::MoveToNextWord || event == QKeySequence::SelectNextWord)
        end(event == QKeySequence::SelectNextWord);
    else if (event == QKeySequence::MoveToPreviousWord || event == QKeySequence::SelectPreviousWord)
        home(event == QKeySequence::SelectPreviousWord);
    else
        QLineEdit::keyPressEvent(event);
}

void NumberBox::dropEvent(QDropEvent* event) {
    if (!isReadOnly()) TextArriving();
    QLineEdit::dropEvent(event);
}

}  // namespace quorvane
