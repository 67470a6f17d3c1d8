#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>

#include "control_table.h"
#include "quorvane.h"
#include "window_driver.h"

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WindowDriver> driver;
    quorvane::Quorvane* window = nullptr;

    template <typename T = QWidget>
    T* control(const char* name) {
        return driver->control<T>(name);
    }
    QLineEdit* box(const char* name) { return driver->box(name); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { driver->key(k, m); }

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
        QVERIFY(control<QCheckBox>("LiveCalc")->isChecked());
        QCOMPARE(QApplication::focusWidget(), box("H"));
    }

    // A text set by the program is a change of text too.
    void textSetByProgramTurnsBlue() {
        box("H")->setText("31");
        QCOMPARE(box("H")->palette().color(QPalette::Text), kBlueText);
        QCOMPARE(box("Q")->palette().color(QPalette::Text), kRedText);
    }

    // Every control as laid out, written out here in twips: a wrong value in the window's own
    // table shows as a difference. The line's width column is its end point's x.
    void everyControlAsLaidOut_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QColor>("colour");  // invalid: the toolkit's default
        QTest::addColumn<QString>("accessibleName");
        const QColor none;
        auto row = [](const char* name, const char* text, QRect twips, QColor colour,
                      const char* accessibleName = "") {
            QTest::newRow(name) << name << QString::fromUtf8(text) << twips << colour
                                << QString::fromUtf8(accessibleName);
        };
        // clang-format off
        row("Label1",   "Head",            {120,  120,  495, 255}, none);
        row("H",        "30",              {1560, 120, 1335, 375}, kRedText, "Head");
        row("Label2",   "m",               {3000, 240,  735, 255}, none);
        row("Label3",   "Flow",            {120,  600,  495, 255}, none);
        row("Q",        "60",              {1560, 600, 1335, 375}, kRedText, "Flow");
        row("Label4",   "m3/hr",           {3000, 720,  735, 255}, none);
        row("Label5",   "Fluid Density",   {120, 1080,  975, 255}, none);
        row("D",        "997.01",          {1560, 1080, 1335, 375}, kRedText, "Fluid Density");
        row("Label6",   "kg/m3",           {3000, 1200, 735, 255}, none);
        row("Label7",   "Pump Efficiency", {120, 1560, 1335, 255}, none);
        row("E",        "70",              {1560, 1560, 1335, 375}, kRedText, "Pump Efficiency");
        row("Label8",   "%",               {3000, 1680, 735, 255}, none);
        row("Line1",    "",                {120, 2040, 3840, 0}, none);
        row("Label9",   "Power",           {120, 2280, 1335, 255}, none);
        row("P",        "6.983",           {1560, 2160, 1335, 375}, kPurpleText, "Power");
        row("Label10",  "kW",              {3000, 2280, 735, 255}, none);
        row("LiveCalc", "Perform Live Calculations", {120, 2760, 2175, 375}, none,
            "Perform Live Calculations");
        row("Command1", "&Calculate",      {5520, 3240, 1300, 375}, none, "Calculate");
        row("Label12",  "Rev.A",           {120, 3360, 735, 255}, kGreenText);
        row("Label11",  "By: Kestrin (08-Feb-2012)", {1200, 3360, 2775, 255}, kGreenText);
        row("Image2",   "",                {6000, 120, 825, 495}, none, "Logo");
        row("Image1",   "",                {4200, 960, 2640, 1650}, none, "P = γ·hp·Q / η");
        // clang-format on
    }
    void everyControlAsLaidOut() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        QFETCH(QColor, colour);
        QFETCH(QString, accessibleName);
        using quorvane::TwipsToPixels;
        QWidget* widget = control(name.toUtf8());
        const QPoint pos(TwipsToPixels(twips.x()), TwipsToPixels(twips.y()));
        const QSize size(TwipsToPixels(twips.width()), TwipsToPixels(twips.height()));
        QCOMPARE(widget->pos(), pos);
        QCOMPARE(widget->accessibleName(), accessibleName);
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull())
            QCOMPARE(label->text(), text);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), text);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) QCOMPARE(edit->text(), text);
        const auto role = qobject_cast<QLineEdit*>(widget) ? QPalette::Text : QPalette::WindowText;
        if (colour.isValid()) QCOMPARE(widget->palette().color(role), colour);
        if (name == "Line1") {
            QCOMPARE(widget->size(), QSize(TwipsToPixels(twips.width()) - pos.x(), 1));
        } else if (name.startsWith("Label") || name == "LiveCalc") {
            // Only captions grow, and only as far as their text needs.
            QCOMPARE(widget->height(), std::max(size.height(), widget->sizeHint().height()));
            QCOMPARE(widget->width(), std::max(size.width(), widget->sizeHint().width()));
        } else {
            QCOMPARE(widget->size(), size);
        }
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
