// How long the window takes to take a megabyte of text into a box and to react to Enter on it.
// Run: QT_QPA_PLATFORM=offscreen build/bench/long_text   (goal: Enter well under a second)
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
    return 0;
}
