// An invisible notification that screen readers speak when it appears: Qt 6.4 has no other way
// to have a change outside the focus spoken. It is in the tree only while it is shown: long
// enough for a screen reader to ask about it, until the next announcement at most.
#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvane {

class Announcer : public QWidget {
    Q_OBJECT

  public:
    explicit Announcer(QWidget* parent);
    // Has screen readers speak `message` now.
    void Announce(const QString& message);
    // Tells screen readers again that `control` has the focus.
    static void TellFocus(QWidget* control);

  private:
    QTimer hiding_;
};

}  // namespace quorvane
