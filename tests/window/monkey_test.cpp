// Random user actions against the whole window; after each, the invariants a user relies on.
// QUORVANE_MONKEY_SEED and QUORVANE_MONKEY_ACTIONS replay a reported run.
#include <QCheckBox>
#include <QClipboard>
#include <QTest>
#include <random>
#include <set>

#include "control_table.h"
#include "number_format.h"
#include "power.h"
#include "window_driver.h"

namespace {

using quorvane::Input;
using quorvane::InputRow;

const QStringList kInputs = {InputRow(Input::Head).name, InputRow(Input::Flow).name,
                             InputRow(Input::Density).name, InputRow(Input::Efficiency).name};

// The texts of the four boxes, for the core's Power: what P must show when it is computed.
class TextsView : public quorvane::CalculatorView {
  public:
    explicit TextsView(const WindowDriver& driver) : driver_(driver) {}
    std::string InputText(Input input) override {
        return driver_.box(InputRow(input).name)->text().toStdString();
    }
    void SetPowerText(std::string_view text) override { shown = std::string(text); }
    std::string shown;

  private:
    const WindowDriver& driver_;
};

enum class Expect { Unchanged, Reference, Computed, Anything };

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

    WindowDriver* driver = nullptr;
    std::mt19937_64 random;
    QStringList log;
    std::set<QString> everChanged;
    quorvane::NumberFormat format = quorvane::UserNumberFormat();
    int reactions = 0;
    int numbersShown = 0;  // reactions that left a number in P: the run reached real inputs

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    QString computed() {
        TextsView view(*driver);
        quorvane::Power(view, format);
        return QString::fromStdString(view.shown);
    }
    QString reference() {
        const bool live = driver->control<QCheckBox>("LiveCalc")->checkState() != Qt::Unchecked;
        return live ? computed() : QString();
    }

    // Performs one random action; says what P must be afterwards.
    Expect act() {
        const QString focus = driver->focusName();
        const bool inInput = kInputs.contains(focus);
        const int roll = pick(100);
        if (roll < 30) {  // a whole number, typed over the box's text as a user would
            const QString number = plausibleNumber();
            log << "type number " + number;
            driver->key(Qt::Key_A, Qt::ControlModifier);
            driver->type(number);
            return Expect::Unchanged;
        }
        if (roll < 45) {  // any single character
            const QString decimal = QString::fromStdString(format.decimal);
            const QString group = QString::fromStdString(format.group);
            const QString chars = "0123456789+-Eeax " + decimal + group;
            const QChar c = chars[pick(int(chars.size()))];
            log << QString("type '%1'").arg(c);
            driver->type(QString(c));
            if (c == ' ' && focus == "Command1") return Expect::Computed;
            if (c == ' ' && focus == "LiveCalc") return Expect::Reference;
            return Expect::Unchanged;
        }
        if (roll < 53) return key("Backspace", Qt::Key_Backspace), Expect::Unchanged;
        if (roll < 56) return key("Ctrl+A", Qt::Key_A, Qt::ControlModifier), Expect::Unchanged;
        if (roll < 66) {
            key("Return", Qt::Key_Return);
            if (focus == "Command1") return Expect::Computed;  // Enter presses a focused button
            return inInput ? Expect::Reference : Expect::Unchanged;
        }
        if (roll < 74)
            return key("Tab", Qt::Key_Tab), inInput ? Expect::Reference : Expect::Unchanged;
        if (roll < 78)
            return key("Shift+Tab", Qt::Key_Backtab),
                   inInput ? Expect::Reference : Expect::Unchanged;
        if (roll < 81) return key("Alt+C", Qt::Key_C, Qt::AltModifier), Expect::Computed;
        if (roll < 82) {
            static const QString kPastes[] = {QString(20'000, '9'),
                                              QString(30'000, '0') + "120",
                                              "1" + QString(400, '0'),
                                              "12,345.5",
                                              "1.000,5",
                                              "  42  ",
                                              "-0",
                                              "1e308",
                                              "nonsense"};
            const QString& text = kPastes[pick(9)];
            log << QString("paste %1 chars").arg(text.size());
            QApplication::clipboard()->setText(text);
            driver->key(Qt::Key_V, Qt::ControlModifier);
            return Expect::Unchanged;
        }
        const auto& controls = quorvane::kControls;
        const QString target = controls[std::size_t(pick(int(controls.size())))].name;
        log << "click " + target;
        driver->click(target, Qt::LeftButton, 0);
        if (target == "Command1") return Expect::Computed;
        if (target == "LiveCalc") return Expect::Reference;
        const bool focusable = kInputs.contains(target) || target == "P";
        if (focusable && target != focus && inInput) return Expect::Reference;
        return Expect::Unchanged;
    }

    QString plausibleNumber() {
        QString number = pick(8) == 0 ? "-" : "";
        if (driver->focusName() == "E")  // mostly efficiencies, a quarter of them refused
            number += QString::number(pick(4) == 0 ? 100 + pick(1000) : 1 + pick(100));
        else
            number += QString::number(pick(4) == 0 ? pick(300) : pick(100'000));
        if (pick(2)) number += QString::fromStdString(format.decimal) + QString::number(pick(100));
        if (pick(10) == 0) number += "E" + QString::number(pick(5));
        return number;
    }

    void key(const char* name, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        log << name;
        driver->key(k, m);
    }

    // The message is built only when a check fails: joining the whole log after every action
    // would make a long run quadratic.
    QString failure(int step, const QString& what, quint64 seed) {
        return QString("%1 after action %2 of seed %3\nactions: %4")
            .arg(what)
            .arg(step)
            .arg(seed)
            .arg(log.join(", "));
    }
#define MONKEY_CHECK(condition, what)                                   \
    do {                                                                \
        if (!(condition)) QFAIL(qPrintable(failure(step, what, seed))); \
    } while (false)

  private slots:
    void randomActions() {
        const quint64 seed = qEnvironmentVariableIsSet("QUORVANE_MONKEY_SEED")
                                 ? qEnvironmentVariable("QUORVANE_MONKEY_SEED").toULongLong()
                                 : 20121208;
        const int actions = qEnvironmentVariableIntValue("QUORVANE_MONKEY_ACTIONS") > 0
                                ? qEnvironmentVariableIntValue("QUORVANE_MONKEY_ACTIONS")
                                : 10'000;
        random.seed(seed);
        WindowDriver windowDriver;
        driver = &windowDriver;
        QVERIFY(windowDriver.show());
        qInfo("seed %llu, %d actions", seed, actions);

        for (int step = 1; step <= actions; ++step) {
            QStringList textsBefore;
            for (const QString& name : kInputs) textsBefore << driver->box(name)->text();
            const QString powerBefore = driver->box("P")->text();

            const Expect expect = act();

            MONKEY_CHECK(driver->window->isVisible(), "window gone");
            QWidget* focus = QApplication::focusWidget();
            MONKEY_CHECK(focus && focus->window() == driver->window.get(),
                         "focus outside the window");

            const QString power = driver->box("P")->text();
            const QString want = expect == Expect::Unchanged  ? powerBefore
                                 : expect == Expect::Computed ? computed()
                                                              : reference();
            MONKEY_CHECK(power == want, QString("P is '%1', want '%2'").arg(power, want));

            if (expect != Expect::Unchanged) {
                ++reactions;
                if (!power.isEmpty()) ++numbersShown;
            }

            for (int i = 0; i < kInputs.size(); ++i) {
                QLineEdit* box = driver->box(kInputs[i]);
                if (box->text() != textsBefore[i]) everChanged.insert(kInputs[i]);
                const QColor colour = everChanged.count(kInputs[i]) ? kBlueText : kRedText;
                MONKEY_CHECK(box->palette().color(QPalette::Text) == colour,
                             "wrong colour of " + kInputs[i]);
            }

            if (driver->focusName() != "E") {
                bool isNumber = false;
                double efficiency = 0;
                try {
                    efficiency =
                        quorvane::TextToDouble(driver->box("E")->text().toStdString(), format);
                    isNumber = true;
                } catch (const quorvane::ConversionError&) {
                }
                MONKEY_CHECK(!isNumber || efficiency <= 100, "E above 100 after leaving it");
            }
        }
        qInfo("ran %d actions: %d reactions, %d of them showed a number", actions, reactions,
              numbersShown);
        QVERIFY2(numbersShown > actions / 50, "the actions hardly ever reached computable inputs");
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
