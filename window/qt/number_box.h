// A text box that holds one number: one word to move over and select.
#pragma once

#include <QLineEdit>
#include <functional>

namespace quorvane {

class NumberBox : public QLineEdit {
    Q_OBJECT

  public:
    using QLineEdit::QLineEdit;

    // Called before a text is dropped here or put here by a screen reader: such a text enters as
    // typing does, the box taking the focus first.
    std::function<void()> textArriving;
    void TextArriving() {
        if (textArriving) textArriving();
    }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace quorvane
