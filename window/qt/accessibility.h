// What screen readers get of the window: its text boxes through an interface of our own, the
// window as a window, and spoken announcements of results.
#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvane {

// Installs, once per process, the accessibility factory for the window and every QLineEdit.
// Qt 6.4's own text boxes hang on a word query at the end of the text and cut the last
// character off what Orca speaks (every offset is a text-attribute run of its own).
void InstallAccessibility();

// An invisible notification that screen readers speak when it appears: Qt 6.4 has no other
// way to have a change outside the focus spoken. It is in the tree only while it is shown:
// long enough for a screen reader to ask about it, until the next announcement at most.
class Announcer : public QWidget {
    Q_OBJECT

  public:
    explicit Announcer(QWidget* parent);
    // Has screen readers speak `message` now.
    void Announce(const QString& message);
    // Tells screen readers again that `control` has the focus.
    void TellFocus(QWidget* control);

  signals:
    void FocusTold(QWidget* control);

  private:
    QTimer hiding_;
};

}  // namespace quorvane
