// How long the window takes to take a megabyte of text into a box and to react to Enter on it,
// and how long a screen reader's walk over a long text takes, character by character, against
// the same walk over a short one: the time of a query should not grow with the text.
// Run: QT_QPA_PLATFORM=offscreen build/bench/long_text   (goal: Enter well under a second)
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>

#include "control_table.h"
#include "quorvane.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorvane::Quorvane window;
    window.show();
    QApplication::processEvents();
    auto* flow = window.findChild<QLineEdit*>(quorvane::InputRow(quorvane::Input::Flow).name);
    auto* power = window.findChild<QLineEdit*>("P");
    flow->setFocus();

    const QString texts[] = {QString(999'997, '0') + "120", QString(1'000'000, '7'),
                             QString(1'000'000, 'x')};
    for (const QString& text : texts) {
        QElapsedTimer timer;
        timer.start();
        flow->setText(text);
        QApplication::processEvents();
        const qint64 setMs = timer.restart();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(flow, &press);
        QApplication::processEvents();
        const qint64 enterMs = timer.elapsed();
        std::printf("%-28s set %4lld ms, Enter %4lld ms, P \"%s\"\n",
                    qPrintable(text.left(3) + "... (" + QString::number(text.size()) + " chars)"),
                    setMs, enterMs, qPrintable(power->text()));
    }
    // A reader's walk: the character at each offset and where it is drawn, as Orca asks.
    const auto walk = [flow](const QString& text, int steps) {
        flow->setText(text);
        flow->setCursorPosition(0);
        QAccessibleTextInterface* reader =
            QAccessible::queryAccessibleInterface(flow)->textInterface();
        QElapsedTimer timer;
        timer.start();
        int start = 0, end = 0;
        for (int offset = 0; offset < steps; ++offset) {
            reader->textAtOffset(offset, QAccessible::CharBoundary, &start, &end);
            reader->characterRect(offset);
        }
        return double(timer.nsecsElapsed()) / steps / 1000;
    };
    const int steps = qEnvironmentVariableIntValue("WALK_STEPS") > 0
                          ? qEnvironmentVariableIntValue("WALK_STEPS")
                          : 2000;
    const double shortWalk = walk(QString(steps, '7'), steps);
    const double longWalk = walk(QString(1'000'000, '7'), steps);
    std::printf(
        "character walk, %d steps: %.1f us a step in %d chars, %.1f us in 1000000 "
        "(%.2fx)\n",
        steps, shortWalk, steps, longWalk, longWalk / shortWalk);
    return 0;
}
