// Drives a Quorvane window in-process the way a user would: keys go through the window and
// follow the real focus; mouse clicks are a press, a short wait and a release.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "quorvane.h"

// The window's colours on the light palette, written out here rather than taken from the window's
// own conversion: red darkened to 4.5:1 on the white fields, green on the #EFEFEF face.
inline const QColor kRedText(238, 0, 0);
inline const QColor kBlueText(0, 0, 255);
inline const QColor kPurpleText(128, 0, 128);
inline const QColor kGreenText(0, 126, 0);

// The control called `name` in `window`; a missing one ends the test run.
template <typename T = QWidget>
T* FindControl(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
}

class WindowDriver {
  public:
    std::unique_ptr<quorvane::Quorvane> window = std::make_unique<quorvane::Quorvane>();

    bool show() {
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename T = QWidget>
    T* control(const QString& name) const {
        return FindControl<T>(*window, name);
    }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    // ASCII as real keys (a space presses a focused button); other characters, such as a
    // locale's no-break space, as text.
    void type(const QString& text) const {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(window->windowHandle(), char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, window->windowHandle(), Qt::Key_unknown,
                                    QString(c), Qt::NoModifier);
        }
    }
    // holdMs > 0 waits between press and release with events flowing, as a real click does;
    // that is where a deferred focus change would lose the click.
    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton,
               int holdMs = 40) const {
        QWidget* target = control(name);
        const QPoint middle = target->rect().center();
        QTest::mousePress(target, button, {}, middle);
        if (holdMs > 0)
            QTest::qWait(holdMs);
        else
            QCoreApplication::processEvents();
        QTest::mouseRelease(target, button, {}, middle);
    }

    QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString("(none)");
    }
};
