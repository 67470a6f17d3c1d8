#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "control_table.h"
#include "quorvane.h"
#include "window_driver.h"

using quorvane::ControlKind;
using quorvane::TwipsToPixels;

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WindowDriver> driver;
    Quorvane* window = nullptr;

    template <typename T = QWidget>
    T* control(const char* name) {
        return driver->control<T>(name);
    }
    QLineEdit* box(const char* name) { return driver->box(name); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { driver->key(k, m); }
    static QColor colour(std::uint32_t bgr) { return WindowDriver::colour(bgr); }

  private slots:
    void init() {
        driver = std::make_unique<WindowDriver>();
        window = driver->window.get();
        QVERIFY(driver->show());
    }
    void cleanup() { driver.reset(); }

    void startState() {
        QCOMPARE(window->windowTitle(), QString("Quorvane Calculator"));
        QCOMPARE(box("P")->text(), QString("6.983"));
        QVERIFY(box("P")->isReadOnly());
        QCOMPARE(box("P")->palette().color(QPalette::Text), colour(quorvane::kPurple));
        for (const char* name : {"H", "Q", "D", "E"})
            QCOMPARE(box(name)->palette().color(QPalette::Text), colour(quorvane::kRed));
        for (const char* name : {"Label11", "Label12"})
            QCOMPARE(control(name)->palette().color(QPalette::WindowText),
                     colour(quorvane::kGreen));
        QVERIFY(control<QCheckBox>("LiveCalc")->isChecked());
        QCOMPARE(QApplication::focusWidget(), box("H"));
    }

    void texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        for (const auto& entry : quorvane::kControls)
            if (entry.kind == ControlKind::Label || entry.kind == ControlKind::TextBox ||
                entry.kind == ControlKind::CheckBox || entry.kind == ControlKind::Button)
                QTest::newRow(entry.name) << entry.name << QString::fromUtf8(entry.text);
    }
    void texts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QWidget* widget = control(name.toUtf8());
        if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), text);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), text);
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && name != "P")
            QCOMPARE(edit->text(), text);
    }

    void spotGeometry() {  // a few figures worked out by hand, independent of the table
        QCOMPARE(window->size(), QSize(466, 252));
        QCOMPARE(control("Command1")->geometry(), QRect(368, 216, 87, 25));
        QCOMPARE(control("H")->geometry(), QRect(104, 8, 89, 25));
        QCOMPARE(control("P")->geometry(), QRect(104, 144, 89, 25));
        QCOMPARE(control("Image1")->geometry(), QRect(280, 64, 176, 110));
        QCOMPARE(control("Image2")->geometry(), QRect(400, 8, 55, 33));
        QCOMPARE(control("Line1")->geometry(), QRect(8, 136, 248, 1));
    }

    void everyControlAsLaidOut_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(quorvane::kControls.size()); ++i)
            QTest::newRow(quorvane::kControls[std::size_t(i)].name) << i;
    }
    void everyControlAsLaidOut() {
        QFETCH(int, index);
        const auto& entry = quorvane::kControls[std::size_t(index)];
        QWidget* widget = control(entry.name);
        QCOMPARE(widget->pos(), QPoint(TwipsToPixels(entry.left), TwipsToPixels(entry.top)));
        if (entry.kind == ControlKind::Line) return;
        QVERIFY(widget->width() >= TwipsToPixels(entry.width));
        QVERIFY(widget->height() >= TwipsToPixels(entry.height));
        // Only captions grow, and only as far as their text needs.
        if (entry.kind == ControlKind::Label || entry.kind == ControlKind::CheckBox) {
            QVERIFY(widget->width() >= widget->sizeHint().width());
            QVERIFY(widget->width() == TwipsToPixels(entry.width) ||
                    widget->width() == widget->sizeHint().width());
        } else {
            QCOMPARE(widget->size(),
                     QSize(TwipsToPixels(entry.width), TwipsToPixels(entry.height)));
        }
        if (entry.accessibleName)
            QCOMPARE(widget->accessibleName(), QString::fromUtf8(entry.accessibleName));
    }

    void noControlsOverlap() {
        const auto& controls = quorvane::kControls;
        for (std::size_t i = 0; i < controls.size(); ++i)
            for (std::size_t j = i + 1; j < controls.size(); ++j)
                QVERIFY2(
                    !control(controls[i].name)
                         ->geometry()
                         .intersects(control(controls[j].name)->geometry()),
                    qPrintable(QString("%1 overlaps %2").arg(controls[i].name, controls[j].name)));
        for (const auto& entry : controls)
            QVERIFY2(window->rect().contains(control(entry.name)->geometry()), entry.name);
    }

    void fixedSize() {
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->minimumSize(), QSize(466, 252));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void pictures() {
        auto* formula = control<QLabel>("Image1");
        QCOMPARE(formula->pixmap().size(), QSize(176, 110));
        QCOMPARE(formula->pixmap().depth(), 32);  // loaded; the file itself is 24-bit RGB
        QVERIFY(!formula->hasScaledContents());
        auto* logo = control<QLabel>("Image2");
        QCOMPARE(logo->pixmap().size(), QSize(116, 66));
        QVERIFY(logo->hasScaledContents());
        const QList<QSize> icons = window->windowIcon().availableSizes();
        QVERIFY(icons.contains(QSize(32, 32)));
        QVERIFY(icons.contains(QSize(16, 16)));
    }

    void version() {
        quorvane::SetApplicationInfo();
        QCOMPARE(QCoreApplication::applicationVersion(), QString("1.00"));
    }

    void focusOrderByTab() {
        const char* order[] = {"Q", "D", "E", "P", "Command1", "LiveCalc", "H"};
        for (const char* name : order) {
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(name));
        }
    }

    void calculateWithLiveOff_data() {
        QTest::addColumn<bool>("byAccessKey");
        QTest::newRow("click") << false;
        QTest::newRow("Alt+C") << true;
    }
    void calculateWithLiveOff() {
        QFETCH(bool, byAccessKey);
        control<QCheckBox>("LiveCalc")->setChecked(false);
        box("Q")->setText("120");
        QSignalSpy clicked(control<QPushButton>("Command1"), &QPushButton::clicked);
        if (byAccessKey)
            key(Qt::Key_C, Qt::AltModifier);
        else
            driver->click("Command1");
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(box("P")->text(), QString("13.967"));
        QCOMPARE(QApplication::focusWidget(), control("Command1"));  // as a click would
    }

    void enterAndEscPressNothing() {
        QSignalSpy clicked(control<QPushButton>("Command1"), &QPushButton::clicked);
        key(Qt::Key_Return);
        key(Qt::Key_Enter);
        key(Qt::Key_Escape);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(window->isVisible());
    }

    void germanLocale() {
        if (QLocale().decimalPoint() != ",") QSKIP("needs LC_ALL=de_DE.UTF-8");
        QCOMPARE(box("D")->text(), QString("997,01"));
        QCOMPARE(box("H")->text(), QString("30"));
        QCOMPARE(box("P")->text(), QString("6,983"));
        box("Q")->setText("1.000");  // grouped thousands
        driver->click("Command1");
        QCOMPARE(box("P")->text(), QString("116,389"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
