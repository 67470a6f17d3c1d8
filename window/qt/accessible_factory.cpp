#include "accessible_factory.h"

#include <QAccessibleWidget>
#include <QLineEdit>

#include "accessible_box.h"
#include "number_box.h"
#include "text_index.h"

namespace quorvane {
namespace {

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
    if (!object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // The calculator's own boxes only: other line edits in the process keep Qt's own.
    if (className == "quorvane::NumberBox")
        return NewAccessibleBox(static_cast<QLineEdit*>(widget));
    // The window as a window with its title, not a filler.
    if (className == "quorvane::Quorvane")
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == "quorvane::Announcer")
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

QAccessible::UpdateHandler previousHandler = nullptr;
void Update(QAccessibleEvent* event);

// On to the handler before ours, else to the platform's bridge.
void Forward(QAccessibleEvent* event) {
    if (previousHandler) return previousHandler(event);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Update);
}

// A box tells of its changes in UTF-16 positions, which Qt's bridge passes on as they are:
// screen readers are told code points, as everywhere else.
void Update(QAccessibleEvent* event) {
    auto* box = qobject_cast<NumberBox*>(event->object());
    if (!box) return Forward(event);
    const QString text = box->text();
    const auto points = [&text](int units) { return PointsOf(text, units); };
    switch (event->type()) {
        case QAccessible::TextInserted: {
            const auto& e = static_cast<const QAccessibleTextInsertEvent&>(*event);
            QAccessibleTextInsertEvent told(box, points(e.changePosition()), e.textInserted());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextRemoved: {
            const auto& e = static_cast<const QAccessibleTextRemoveEvent&>(*event);
            QAccessibleTextRemoveEvent told(box, points(e.changePosition()), e.textRemoved());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextUpdated: {
            const auto& e = static_cast<const QAccessibleTextUpdateEvent&>(*event);
            QAccessibleTextUpdateEvent told(box, points(e.changePosition()), e.textRemoved(),
                                            e.textInserted());
            told.setCursorPosition(points(e.cursorPosition()));
            return Forward(&told);
        }
        case QAccessible::TextSelectionChanged: {
            auto& e = static_cast<QAccessibleTextSelectionEvent&>(*event);
            e.setSelection(points(e.selectionStart()), points(e.selectionEnd()));
            e.setCursorPosition(points(e.cursorPosition()));
            return Forward(event);
        }
        case QAccessible::TextCaretMoved: {
            auto& e = static_cast<QAccessibleTextCursorEvent&>(*event);
            e.setCursorPosition(points(e.cursorPosition()));
            return Forward(event);
        }
        default:
            return Forward(event);
    }
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateAccessible);
        previousHandler = QAccessible::installUpdateHandler(Update);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace quorvane
