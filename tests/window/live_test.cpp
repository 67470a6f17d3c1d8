#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <map>

#include "window_driver.h"

namespace {

const char* const kRefused =
    "Pump Efficiency above 100 refused. Power empty. The cursor is in Pump Efficiency, now empty.";

const std::map<QString, Qt::Key> kKeys = {{"Tab", Qt::Key_Tab},
                                          {"Backtab", Qt::Key_Backtab},
                                          {"Return", Qt::Key_Return},
                                          {"Enter", Qt::Key_Enter},
                                          {"Esc", Qt::Key_Escape},
                                          {"Space", Qt::Key_Space},
                                          {"Backspace", Qt::Key_Backspace}};

// What screen readers are told while a row runs, in order: "focus NAME" where Qt tells them of a
// focus change or the window tells them again, and "say WORDS" where the announcer shows.
class Listener : public QObject {
  public:
    QStringList told;

    explicit Listener(QWidget& window) {
        current = this;
        window.findChild<QWidget*>("Announcer")->installEventFilter(this);
    }
    ~Listener() override { current = nullptr; }
    // Installed before any window's handler, which passes on what it does not change.
    static void Record(QAccessibleEvent* event) {
        if (current && event->type() == QAccessible::Focus)
            current->told << "focus " + event->object()->objectName();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            told << "say " + static_cast<QWidget*>(watched)->accessibleName();
        return false;
    }

  private:
    static inline Listener* current = nullptr;
};

QString Said(const QStringList& events) {
    QStringList said;
    for (const QString& event : events)
        if (event.startsWith("say ")) said << event.mid(4);
    return said.join(" | ");
}

// A text dropped onto the middle of a box, as a drag from another application ends.
void Drop(QLineEdit* box, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(box->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box, &drop);
}

}  // namespace

class LiveTest : public QObject {
    Q_OBJECT

    // Steps, separated by spaces: @Name clicks a control, vName presses it and ^Name releases it;
    // quiet checks that nothing was announced yet; =text replaces the focused box's text
    // ("=" alone empties it); +text types; Tab, Backtab, Return, Enter, Esc, Space, Backspace,
    // AltC and the keypad's KP. and KP, press keys; >Ntext drops text onto box N; !Ntext has a
    // screen reader replace box N's text; keys joined by "," (Return,Tab) are pressed with no
    // event processed in between; off and grey set the check box without a click;
    // menu opens and closes the focused box's context menu; away activates another window and comes
    // back; elsewhere moves the focus into a box of another window of this process.
    void perform(WindowDriver& driver, const QString& steps) {
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step.startsWith('@')) {
                driver.click(step.mid(1));
            } else if (step.startsWith('v') || step.startsWith('^')) {  // press held, release
                QWidget* target = driver.control(step.mid(1));
                if (step.startsWith('v'))
                    QTest::mousePress(target, Qt::LeftButton, {}, target->rect().center());
                else
                    QTest::mouseRelease(target, Qt::LeftButton, {}, target->rect().center());
                QCoreApplication::processEvents();
            } else if (step == "quiet") {  // nothing announced yet
                QVERIFY(driver.control("Announcer")->isHidden());
            } else if (step.startsWith('=')) {
                driver.key(Qt::Key_A, Qt::ControlModifier);
                driver.key(Qt::Key_Backspace);
                driver.type(step.mid(1));
            } else if (step.startsWith('+')) {
                driver.type(step.mid(1));
            } else if (step.contains(',') && kKeys.count(step.section(',', 0, 0))) {
                for (const QString& name : step.split(',')) {
                    QKeyEvent press(QEvent::KeyPress, kKeys.at(name), Qt::NoModifier);
                    QApplication::sendEvent(QApplication::focusWidget(), &press);
                }
            } else if (step.startsWith('>')) {
                Drop(driver.box(step.mid(1, 1)), step.mid(2));
            } else if (step.startsWith('!')) {
                QAccessibleInterface* box =
                    QAccessible::queryAccessibleInterface(driver.box(step.mid(1, 1)));
                box->editableTextInterface()->replaceText(0, box->textInterface()->characterCount(),
                                                          step.mid(2));
            } else if (step.startsWith("KP")) {  // the keypad's decimal key: KP. or KP,
                driver.key(step == "KP," ? Qt::Key_Comma : Qt::Key_Period, Qt::KeypadModifier);
            } else if (step == "AltC") {
                driver.key(Qt::Key_C, Qt::AltModifier);
            } else if (step == "off") {
                driver.control<QCheckBox>("LiveCalc")->setChecked(false);
            } else if (step == "grey") {
                driver.control<QCheckBox>("LiveCalc")->setCheckState(Qt::PartiallyChecked);
            } else if (step == "menu") {
                QTimer::singleShot(50, [] {
                    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
                });
                driver.click(driver.focusName(), Qt::RightButton, 0);
            } else if (step == "elsewhere") {
                QWidget other;
                auto* box = new QLineEdit(&other);
                other.show();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                box->setFocus();
                QTRY_COMPARE(QApplication::focusWidget(), box);
            } else if (step == "away") {
                QWidget other;
                other.show();
                other.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                driver.window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(driver.window.get()));
            } else {
                QVERIFY2(kKeys.count(step), qPrintable("unknown step " + step));
                driver.key(kKeys.at(step));
            }
        }
    }

  private slots:
    // As with a screen reader running: Qt tells of focus changes, as it then does.
    void initTestCase() {
        QAccessible::installUpdateHandler(Listener::Record);
        QAccessible::setActive(true);
    }

    void reactions_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("power");  // text left in P
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("blue");        // boxes whose text turned blue
        QTest::addColumn<QString>("efficiency");  // text left in E
        QTest::addColumn<QString>("live");        // LiveCalc afterwards
        QTest::addColumn<int>("calculations");    // mouse clicks that reached Calculate
        QTest::addColumn<QString>(
            "spoken");  // every announcement, joined by " | "; null: not checked

        auto row = [](const char* name, const char* steps, const char* power, const char* focus,
                      const char* blue, const char* efficiency = "70", const char* live = "on",
                      int calculations = 0, const char* spoken = nullptr) {
            QTest::newRow(name) << steps << power << focus << blue << efficiency << live
                                << calculations << QString(spoken);
        };
        // Typing alone
        row("one character turns H blue", "@H +3", "6.983", "H", "H");
        // Enter and leaving a box, live calculation on
        row("Enter", "@Q =120 Return", "13.967", "Q", "Q", "70", "on", 0, "Power 13.967 kilowatts");
        row("keypad Enter", "@Q =120 Enter", "13.967", "Q", "Q");
        row("Tab", "@Q =120 Tab", "13.967", "D", "Q", "70", "on", 0, "Power 13.967 kilowatts");
        row("click on a label is no leaving", "@Q =120 @Label1", "6.983", "Q", "Q", "70", "on", 0,
            "");
        row("context menu is no leaving", "@Q =120 menu", "6.983", "Q", "Q");
        row("another window is no leaving", "@Q =120 away", "6.983", "Q", "Q");
        row("a box of another window is no leaving", "@Q =120 elsewhere", "6.983", "(none)", "Q");
        row("Esc does nothing", "@Q =120 Esc", "6.983", "Q", "Q");
        row("greyed counts as live", "grey @Q =120 Return", "13.967", "Q", "Q", "70", "grey");
        row("keypad comma types the decimal separator", "@Q =12 KP, +5 Return", "1.455", "Q", "Q");
        row("a comma typed is still a comma", "@Q =12 +,5 Return", "", "Q", "Q");
        // Live calculation off
        row("off: Calculate fills", "off @Q =120 Return @Command1", "13.967", "Command1", "Q", "70",
            "off", 1);
        row("Enter on the focused Calculate", "off @Q =120 Tab Tab Tab Tab Return", "13.967",
            "Command1", "Q", "70", "off", 0, "Power empty | Power 13.967 kilowatts");
        row("keypad Enter on the focused Calculate", "off @Q =120 Tab Tab Tab Tab Enter", "13.967",
            "Command1", "Q", "70", "off", 0, "Power empty | Power 13.967 kilowatts");
        row("unchecking empties", "@LiveCalc", "", "LiveCalc", "", "70", "off", 0, "Power empty");
        row("Space rechecks", "@LiveCalc Space", "6.983", "LiveCalc", "", "70", "on");
        // Alt+C leaves the box first, then calculates
        row("Alt+C from Q", "off @Q =120 AltC", "13.967", "Command1", "Q", "70", "off", 0,
            "Power empty | Power 13.967 kilowatts");  // leaving H emptied P
        // The efficiency limit
        row("150 Enter", "@E =150 Return", "", "E", "E", "", "on", 0, kRefused);
        row("150 Tab", "@E =150 Tab", "", "E", "E", "");
        row("150 click on Calculate", "@E =150 @Command1", "", "E", "E", "", "on", 1);
        row("150 click on LiveCalc", "@E =150 @LiveCalc", "", "E", "E", "", "off");
        // Nothing is said while a press lasts: then the refusal, and no "Power empty" after it.
        row("150 press held on LiveCalc", "@E =150 vLiveCalc quiet ^LiveCalc", "", "E", "E", "",
            "off", 0, kRefused);
        row("150 Alt+C", "@E =150 AltC", "", "E", "E", "", "on", 0, kRefused);
        row("moved on before the focus is told again", "@E =150 Return,Tab", "", "P", "E", "");
        row("the same result twice is said twice", "@Q =120 Return Return", "13.967", "Q", "Q",
            "70", "on", 0, "Power 13.967 kilowatts | Power 13.967 kilowatts");
        // Every way text enters a box: the box takes the focus, and leaving it reacts
        row("a drop onto E is checked when E is left", "@H >E150 Tab", "", "E", "E", "", "on", 0,
            kRefused);
        row("a screen reader's edit of E likewise", "@H !E150 Tab", "", "E", "E", "", "on", 0,
            kRefused);
    }

    void reactions() {
        QFETCH(QString, steps);
        WindowDriver driver;
        QVERIFY(driver.show());
        QSignalSpy calculated(driver.control<QPushButton>("Command1"), &QPushButton::clicked);
        Listener listener(*driver.window);

        perform(driver, steps);
        QCoreApplication::processEvents();  // what is queued for screen readers
        const QStringList& events = listener.told;

        QFETCH(QString, power);
        QFETCH(QString, focus);
        QFETCH(QString, blue);
        QFETCH(QString, efficiency);
        QFETCH(QString, live);
        QFETCH(int, calculations);
        QFETCH(QString, spoken);
        QCOMPARE(driver.box("P")->text(), power);
        if (!spoken.isNull()) {
            QCOMPARE(Said(events), spoken);
            // Said after the focus events of the same action, and gone from the tree after.
            if (!spoken.isEmpty())
                QVERIFY2(events.last().startsWith("say "), qPrintable(events.join(", ")));
            // No stale words in the tree: the notification holds the last words, if any.
            const QWidget* announcer = driver.control("Announcer");
            if (!announcer->isHidden())
                QCOMPARE(announcer->accessibleName(), spoken.section(" | ", -1));
        }
        // Screen readers were last told of the control that has the focus.
        const QStringList focusEvents = events.filter(QRegularExpression("^focus "));
        if (focus != "(none)" && !focusEvents.isEmpty())
            QCOMPARE(focusEvents.last(), "focus " + focus);
        QCOMPARE(driver.focusName(), focus);
        for (const char* name : {"H", "Q", "D", "E"})
            QCOMPARE(driver.box(name)->palette().color(QPalette::Text),
                     blue.contains(name) ? kBlueText : kRedText);
        QCOMPARE(driver.box("E")->text(), efficiency);
        const Qt::CheckState state = driver.control<QCheckBox>("LiveCalc")->checkState();
        QCOMPARE(state, live == "on"    ? Qt::Checked
                        : live == "off" ? Qt::Unchecked
                                        : Qt::PartiallyChecked);
        QCOMPARE(calculated.count(), calculations);
    }

    // No length limit: a megabyte pasted into a box is kept whole and computed.
    void megabyteText() {
        WindowDriver driver;
        QVERIFY(driver.show());
        const QString flow = QString(999'997, '0') + "120";
        QApplication::clipboard()->setText(flow);
        perform(driver, "@Q =");
        driver.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(driver.box("Q")->text().size(), 1'000'000);
        driver.key(Qt::Key_Return);
        QCOMPARE(driver.box("P")->text(), QString("13.967"));
        driver.box("Q")->setText(QString(1'000'000, '7'));  // beyond any double
        driver.key(Qt::Key_Return);
        QCOMPARE(driver.box("P")->text(), QString(""));
    }
};

QTEST_MAIN(LiveTest)
#include "live_test.moc"
