#include "accessible_factory.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <algorithm>
#include <iterator>

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
    const QAccessible::Event type = event->type();
    constexpr QAccessible::Event kTold[] = {QAccessible::TextCaretMoved, QAccessible::TextInserted,
                                            QAccessible::TextRemoved, QAccessible::TextUpdated,
                                            QAccessible::TextSelectionChanged};
    if (!box || std::ranges::find(kTold, type) == std::end(kTold)) return Forward(event);
    const QString text = box->text();
    const auto points = [&text](int units) { return IndexOf(text).Points(units); };
    auto& e = static_cast<QAccessibleTextCursorEvent&>(*event);
    e.setCursorPosition(points(e.cursorPosition()));
    if (type == QAccessible::TextSelectionChanged) {
        auto& selection = static_cast<QAccessibleTextSelectionEvent&>(e);
        selection.setSelection(points(selection.selectionStart()),
                               points(selection.selectionEnd()));
    }
    const auto told = [&e](auto&& changed) {  // the same change, where it is in code points
        changed.setCursorPosition(e.cursorPosition());
        Forward(&changed);
    };
    if (type == QAccessible::TextInserted) {
        const auto& i = static_cast<const QAccessibleTextInsertEvent&>(e);
        return told(QAccessibleTextInsertEvent(box, points(i.changePosition()), i.textInserted()));
    }
    if (type == QAccessible::TextRemoved) {
        const auto& r = static_cast<const QAccessibleTextRemoveEvent&>(e);
        return told(QAccessibleTextRemoveEvent(box, points(r.changePosition()), r.textRemoved()));
    }
    if (type == QAccessible::TextUpdated) {
        const auto& u = static_cast<const QAccessibleTextUpdateEvent&>(e);
        return told(QAccessibleTextUpdateEvent(box, points(u.changePosition()), u.textRemoved(),
                                               u.textInserted()));
    }
    Forward(event);
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
