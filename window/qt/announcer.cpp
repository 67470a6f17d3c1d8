#include "announcer.h"

#include <QAccessible>

namespace quorvane {

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName("Announcer");
    setFixedSize(0, 0);
    hide();
    // A screen reader asks about a notification over D-Bus after it is told of it: hidden any
    // sooner, it is found no longer showing, and may go unspoken.
    hiding_.setSingleShot(true);
    hiding_.setInterval(2000);
    connect(&hiding_, &QTimer::timeout, this, &QWidget::hide);
}

void Announcer::Announce(const QString& message) {
    // A notification is spoken as it is shown; the same words again are a new showing.
    hide();
    setAccessibleName(message);
    show();
    hiding_.start();
}

void Announcer::TellFocus(QWidget* control) {
    QAccessibleEvent focus(control, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

}  // namespace quorvane
