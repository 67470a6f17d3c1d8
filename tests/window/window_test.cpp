#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "announcer.h"
#include "application.h"
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

    // A window built while the application font has `size` (0: as it is), in points or in
    // pixels; with `later`, the font changes to it from 36 pt after the window was built at 36 pt,
    // shrunk to fit. The font stays while the window
    // lives, as the window follows it.
    struct AtFont {
        QFont before = QApplication::font();
        std::unique_ptr<quorvane::Quorvane> window;
        quorvane::Quorvane* operator->() const { return window.get(); }
        quorvane::Quorvane& operator*() const { return *window; }
        ~AtFont() {
            window.reset();
            QApplication::setFont(before);
        }
    };
    static std::unique_ptr<AtFont> WindowAtFont(int size, bool pixels = false, bool later = false) {
        auto built = std::make_unique<AtFont>();
        QFont font = built->before;
        if (size > 0 && pixels) font.setPixelSize(size);
        if (size > 0 && !pixels) font.setPointSize(size);
        if (later) {
            QFont large = built->before;
            large.setPointSize(36);
            QApplication::setFont(large);
            built->window = std::make_unique<quorvane::Quorvane>();
            QCoreApplication::processEvents();
        }
        QApplication::setFont(font);
        if (!later) built->window = std::make_unique<quorvane::Quorvane>();
        QCoreApplication::processEvents();  // Qt tells of the change in events
        return built;
    }
    template <typename T = QWidget>
    static T* Find(const QWidget& window, const char* name) {
        return FindControl<T>(window, name);
    }
    static QStringList ControlNames(const QWidget& window) {
        QStringList names;
        for (const QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden()) names << child->objectName();  // not the announcer
        return names;
    }

    // Where screen readers were last told a box's caret is, by box.
    static inline std::map<QString, int> toldCaret;
    static inline int toldInsert = -1;  // where the last insertion was told
    static void Record(QAccessibleEvent* event) {
        if (event->type() == QAccessible::TextCaretMoved ||
            event->type() == QAccessible::TextInserted)
            toldCaret[event->object()->objectName()] =
                static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
        if (event->type() == QAccessible::TextInserted)
            toldInsert = static_cast<QAccessibleTextInsertEvent*>(event)->changePosition();
    }

  private slots:
    // What the window tells screen readers, as the platform's bridge would receive it.
    void initTestCase() {
        QAccessible::installUpdateHandler(Record);  // before the window's
    }

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
        const auto px = [factor = window->TwipsFactor()](int twips) {
            return quorvane::TwipsToPixels(twips, factor);
        };
        QWidget* widget = control(name.toUtf8());
        const QPoint pos(px(twips.x()), px(twips.y()));
        const QSize size(px(twips.width()), px(twips.height()));
        QCOMPARE(widget->pos(), pos);
        QCOMPARE(widget->accessibleName(), accessibleName);
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull())
            QCOMPARE(label->text(), text);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), text);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) QCOMPARE(edit->text(), text);
        const auto role = qobject_cast<QLineEdit*>(widget) ? QPalette::Text : QPalette::WindowText;
        if (colour.isValid()) QCOMPARE(widget->palette().color(role), colour);
        if (name == "Line1")
            QCOMPARE(widget->size(), QSize(px(twips.width()) - pos.x(), 1));
        else
            QCOMPARE(widget->size(), size);
    }

    // At a small font the table needs no more than 15 twips to a pixel: figures worked out by
    // hand, independent of the table.
    void spotGeometry() {
        const auto smallFont = WindowAtFont(7);
        const auto& small = *smallFont;
        QCOMPARE(small->TwipsFactor(), 1.0);
        QCOMPARE(small->size(), QSize(466, 252));
        const auto geometry = [&](const char* name) { return Find(*small, name)->geometry(); };
        QCOMPARE(geometry("Command1"), QRect(368, 216, 87, 25));
        QCOMPARE(geometry("H"), QRect(104, 8, 89, 25));
        QCOMPARE(geometry("P"), QRect(104, 144, 89, 25));
        QCOMPARE(geometry("Image1"), QRect(280, 64, 176, 110));
        QCOMPARE(geometry("Image2"), QRect(400, 8, 55, 33));
        QCOMPARE(geometry("Line1"), QRect(8, 136, 248, 1));
        QCOMPARE(Find<QLabel>(*small, "Image1")->pixmap().size(), QSize(176, 110));
    }

    // At any font every caption fits its control with room to spare, nothing overlaps, and the
    // window keeps the table's proportions.
    // A font in pixels, or one set while the program runs, fits the same way; shrinking stops
    // at 7 pt.
    void fitsAnyFont_data() {
        QTest::addColumn<int>("size");  // 0: the platform's default font
        QTest::addColumn<bool>("pixels");
        QTest::addColumn<bool>("later");
        for (int points : {0, 7, 9, 11, 14, 18, 24, 36})
            QTest::addRow("%d pt", points) << points << false << false;
        QTest::newRow("9 pt set while running") << 9 << false << true;
        QTest::newRow("18 pt set while running") << 18 << false << true;
        QTest::newRow("36 pt set while running") << 36 << false << true;
        QTest::newRow("15 px") << 15 << true << false;
        QTest::newRow("60 px") << 60 << true << false;
        QTest::newRow("60 px set while running") << 60 << true << true;
    }
    void fitsAnyFont() {
        QFETCH(int, size);
        QFETCH(bool, pixels);
        QFETCH(bool, later);
        const auto held = WindowAtFont(size, pixels, later);
        const AtFont& window = *held;
        for (const char* name : {"Label1", "Label3", "Label5", "Label7", "Label9", "Label11",
                                 "Label12", "LiveCalc", "Command1"}) {
            QWidget* caption = Find(*window, name);
            QVERIFY2(caption->sizeHint().width() + 2 < caption->width(), name);
            QVERIFY2(caption->sizeHint().height() <= caption->height(), name);
        }
        const QStringList names = ControlNames(*window);
        QCOMPARE(names.size(), 22);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QRect here = Find(*window, qPrintable(names[i]))->geometry();
            QVERIFY2(window->rect().contains(here), qPrintable(names[i]));
            for (qsizetype j = i + 1; j < names.size(); ++j)
                QVERIFY2(!here.intersects(Find(*window, qPrintable(names[j]))->geometry()),
                         qPrintable(names[i] + " overlaps " + names[j]));
        }
        QVERIFY(window->width() >= 466);
        const QFontInfo font(window->font());
        QVERIFY(font.pointSizeF() >= 7 - 0.5);
        if (size > 0 && size <= 11 && !pixels) QCOMPARE(font.pointSize(), size);  // not shrunk
        // Never larger than the screen's available area (offscreen: 800 x 600), title bar left.
        const QSize available = window->screen()->availableGeometry().size();
        QVERIFY(window->width() <= available.width());
        QVERIFY(window->height() + 20 <= available.height());
        QVERIFY(qAbs(window->height() - window->width() * 3780.0 / 6990) <= 1);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        for (const char* picture : {"Image1", "Image2"}) {  // drawn to fill the frame
            auto* label = Find<QLabel>(*window, picture);
            QCOMPARE(label->pixmap().deviceIndependentSize().toSize(), label->size());
        }
    }

    void fixedSize() {
        QCOMPARE(window->minimumSize(), window->maximumSize());
        const double factor = window->TwipsFactor();
        QCOMPARE(window->minimumSize(), QSize(quorvane::TwipsToPixels(6990, factor),
                                              quorvane::TwipsToPixels(3780, factor)));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        const QSize size = window->size();
        window->showMaximized();  // as a title bar's maximize button does
        QVERIFY(!window->isMaximized());
        QCOMPARE(window->size(), size);
    }

    // The pictures at the resolution and in the colours of the moment, on either screen: the
    // formula black on white on a light palette with white fields, else in the window's text
    // colour on its face; the logo on its white plate. The window fits the screen it is on, its
    // title bar included.
    void picturesFollowScreenAndPalette_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<QColor>("ink");
        QTest::addColumn<QColor>("paper");
        const QPalette light(QColor(0xEF, 0xEF, 0xEF));
        QPalette dark(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
        dark.setColor(QPalette::Base, QColor(0x3D, 0x3D, 0x3D));
        const QPalette contrast(Qt::white, Qt::black, Qt::black, Qt::black, Qt::black, Qt::white,
                                Qt::white, Qt::black, Qt::black);
        QTest::newRow("light") << 0 << light << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("dark") << 0 << dark << QColor(0xF0, 0xF0, 0xF0) << QColor(0x22, 0x20, 0x20);
        QTest::newRow("contrast") << 0 << contrast << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("2x screen") << 1 << light << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("2x screen, dark")
            << 1 << dark << QColor(0xF0, 0xF0, 0xF0) << QColor(0x22, 0x20, 0x20);
    }
    void picturesFollowScreenAndPalette() {
        QFETCH(int, screen);
        QFETCH(QPalette, palette);
        QFETCH(QColor, ink);
        QFETCH(QColor, paper);
        QVERIFY2(QGuiApplication::screens().size() == 2, "no second screen: screens.json not read");
        QScreen* target = QGuiApplication::screens()[screen];
        window->windowHandle()->setScreen(target);
        QApplication::setPalette(palette);  // while the window runs
        QCoreApplication::processEvents();
        QApplication::setPalette(QPalette());
        QCOMPARE(window->devicePixelRatio(), target->devicePixelRatio());
        for (const char* name : {"Image1", "Image2"}) {
            auto* picture = control<QLabel>(name);
            QCOMPARE(picture->pixmap().size(), picture->size() * target->devicePixelRatio());
        }
        const QImage formula = control<QLabel>("Image1")->pixmap().toImage();
        QCOMPARE(formula.pixelColor(0, 0), paper);
        // The formula's strokes: the ink colour itself where a pixel is wholly covered, and
        // many more nearer the ink than the paper, at the edges of thin strokes.
        int inked = 0, nearer = 0;
        for (int y = 0; y < formula.height(); ++y)
            for (int x = 0; x < formula.width(); ++x) {
                const QColor pixel = formula.pixelColor(x, y);
                inked += pixel == ink;
                nearer += std::abs(pixel.lightness() - ink.lightness()) <
                          std::abs(pixel.lightness() - paper.lightness());
            }
        QVERIFY2(inked >= 30 && nearer >= 600, qPrintable(QString("%1 %2").arg(inked).arg(nearer)));
        // The upper fraction bar, a stroke at y 28.5 of 110, in ink too.
        const QColor bar =
            formula.pixelColor(formula.width() / 2, int(formula.height() * 28.5 / 110));
        QVERIFY(std::abs(bar.lightness() - ink.lightness()) <
                std::abs(bar.lightness() - paper.lightness()));
        const QImage logo = control<QLabel>("Image2")->pixmap().toImage();
        QCOMPARE(logo.pixelColor(1, 1), QColor(Qt::white));
        const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY(window->height() + titleBar <= target->availableGeometry().height());
        QVERIFY(window->width() <= target->availableGeometry().width());
        auto* caption = control("Label7");  // the longest
        QVERIFY(caption->sizeHint().width() < caption->width());
    }

    // Pictures at the screen's full resolution; the icon in the window's sizes, with clear corners,
    // at once.
    void pictures() {
        auto* formula = control<QLabel>("Image1");
        QCOMPARE(formula->pixmap().size(), formula->size() * window->devicePixelRatio());
        QVERIFY(!formula->hasScaledContents());
        auto* logo = control<QLabel>("Image2");
        QCOMPARE(logo->pixmap().size(), logo->size() * window->devicePixelRatio());
        QVERIFY(logo->hasScaledContents());
        const QIcon icon = window->windowIcon();
        QCOMPARE(icon.availableSizes().size(), 5);  // larger views show the installed icon
        for (int size : {16, 24, 32, 48, 64}) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            QCOMPARE(icon.pixmap(size).toImage().pixelColor(0, 0).alpha(), 0);
        }
    }

    // The desktop's palette is followed while the window runs, edited boxes staying blue. On
    // every one, the light one too, each text is its colour or the nearest of the same hue with
    // 4.5:1 against what is behind it (the rule's own values are in the shared table).
    void palettes_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<QString>("name");  // "H+" is H once edited
        QTest::addColumn<QColor>("expected");
        const auto palette = [](QColor window, QColor base, QColor button, QColor text) {
            return QPalette(text, button, button.lighter(), button.darker(), button, text, text,
                            base, window);
        };
        const QPalette light = QPalette(QColor(0xEF, 0xEF, 0xEF));
        const QPalette darker = palette(0x222020, 0x3d3d3d, 0x424245, Qt::white);  // qt6ct's
        const auto row = [](const char* scheme, const QPalette& p, const char* name, QColor c) {
            QTest::addRow("%s %s", scheme, name) << p << name << c;
        };
        // clang-format off
        row("light", light, "H", kRedText);
        row("light", light, "H+", kBlueText);
        row("light", light, "P", kPurpleText);
        row("light", light, "Label11", kGreenText);
        row("light", light, "Label1", Qt::black);
        row("darker", darker, "H", QColor(255, 129, 129));
        row("darker", darker, "H+", QColor(157, 157, 255));
        row("darker", darker, "P", QColor(255, 105, 255));
        row("darker", darker, "Label11", QColor(0, 158, 0));
        row("darker", darker, "Label1", Qt::white);
        row("darker", darker, "Command1", Qt::white);
        // clang-format on
    }
    void palettes() {
        QFETCH(QPalette, palette);
        QFETCH(QString, name);
        QFETCH(QColor, expected);
        auto* control = this->control(qPrintable(name.left(name.indexOf('+'))));
        if (name.endsWith('+')) static_cast<QLineEdit*>(control)->setText("31");
        const QPalette before = QApplication::palette();
        QApplication::setPalette(palette);  // while the window runs: followed
        QCoreApplication::processEvents();
        const bool box = qobject_cast<QLineEdit*>(control);
        const bool button = qobject_cast<QPushButton*>(control);
        const auto text = box      ? QPalette::Text
                          : button ? QPalette::ButtonText
                                   : QPalette::WindowText;
        const auto field = box ? QPalette::Base : button ? QPalette::Button : QPalette::Window;
        const QPalette got = control->palette();
        QApplication::setPalette(before);
        QCOMPARE(got.color(field), palette.color(field));  // the user's own
        QCOMPARE(got.color(text), expected);
    }

    // What a screen reader says of each control, and of the window.
    void accessible_data() {
        QTest::addColumn<QString>("name");  // empty: the window
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("labelledBy");
        const auto row = [](const char* name, QAccessible::Role role, const char* spoken,
                            const char* description = "", bool readOnly = false,
                            const char* labelledBy = "") {
            QTest::newRow(*name ? name : "window")
                << name << int(role) << spoken << description << readOnly << labelledBy;
        };
        row("", QAccessible::Window, "Quorvane Calculator");
        row("H", QAccessible::EditableText, "Head", "metres", false, "Label1");
        row("Q", QAccessible::EditableText, "Flow", "cubic metres per hour", false, "Label3");
        row("D", QAccessible::EditableText, "Fluid Density", "kilograms per cubic metre", false,
            "Label5");
        row("E", QAccessible::EditableText, "Pump Efficiency", "percent", false, "Label7");
        row("P", QAccessible::EditableText, "Power", "kilowatts", true, "Label9");
        row("LiveCalc", QAccessible::CheckBox, "Perform Live Calculations");
        row("Command1", QAccessible::Button, "Calculate");
        row("Announcer", QAccessible::Notification, "");  // spoken as it shows
    }
    void accessible() {
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, spoken);
        QFETCH(QString, description);
        QFETCH(bool, readOnly);
        QFETCH(QString, labelledBy);
        QObject* object =
            name.isEmpty() ? static_cast<QObject*>(window) : control(qPrintable(name));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
        QVERIFY(accessible);
        QCOMPARE(int(accessible->role()), role);
        QCOMPARE(accessible->text(QAccessible::Name), spoken);
        QCOMPARE(accessible->text(QAccessible::Description), description);
        QCOMPARE(bool(accessible->state().readOnly), readOnly);
        if (role == QAccessible::EditableText) {
            QCOMPARE(bool(accessible->state().editable), !readOnly);
            QCOMPARE(accessible->editableTextInterface() != nullptr, !readOnly);
        }
        const auto labels = accessible->relations(QAccessible::Label);
        QCOMPARE(labels.isEmpty() ? QString() : labels.first().first->object()->objectName(),
                 labelledBy);
    }

    // Every text query on a box answers at once, with whole numbers: a word query at the end
    // once hung, and per-character attribute runs cut the last digit off what was spoken. A box
    // is one word; a character is a grapheme cluster.
    void accessibleText_data() {
        // at, before, after, attributes; value; text (offset to boundary); remove (selection
        // `offset` of 0..3); scroll (to offset, with 1..3 selected), giving the selection
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("boxText");  // empty: D's "997.01"
        const auto row = [](const char* name, const char* query,
                            QAccessible::TextBoundaryType boundary, int offset, const char* text,
                            int start, int end, const char* boxText = "") {
            QTest::newRow(name) << query << int(boundary) << offset << QString::fromUtf8(text)
                                << start << end << QString::fromUtf8(boxText);
        };
        const auto Word = QAccessible::WordBoundary;
        const auto Char = QAccessible::CharBoundary;
        // clang-format off
        row("word at the end",       "at",     QAccessible::WordBoundary,      6, "997.01", 0, 6);
        row("line at the end",       "at",     QAccessible::LineBoundary,      6, "997.01", 0, 6);
        row("sentence",              "at",     QAccessible::SentenceBoundary,  2, "997.01", 0, 6);
        row("paragraph",             "at",     QAccessible::ParagraphBoundary, 0, "997.01", 0, 6);
        row("character after",       "after",  QAccessible::CharBoundary,      0, "9",      1, 2);
        row("one attribute run",     "attributes", QAccessible::CharBoundary,  3, "",       0, 6);
        row("word without blanks",   "at",     Word, 0, "30",      1, 3, " 30 ");
        row("surrogate pair",        "at",     Char, 0, "𝟑",       0, 1, "𝟑𝟎");  // code points
        row("pair before the end",   "before", Char, 2, "𝟎",       1, 2, "𝟑𝟎");
        row("two characters",        "count",  Char, 0, "2",      -1, -1, "𝟑𝟎");
        row("range in characters",   "text",   QAccessible::TextBoundaryType(2), 1, "𝟎", -1, -1, "𝟑𝟎");
        row("cursor in characters",  "cursor", Char, 0, "2",      -1, -1, "𝟑𝟎");
        row("selection in characters", "select", Char, 1, "𝟎",   -1, -1, "𝟑𝟎");
        row("value",                 "value",  Char, 0, "997.01",  -1, -1);
        row("backwards range",       "text",   QAccessible::TextBoundaryType(2), 4, "", -1, -1);
        row("range",                 "text",   QAccessible::TextBoundaryType(6), 4, "01", -1, -1);
        row("no selection 1",        "remove", Char, 1, "997",    -1, -1);
        row("selection 0",           "remove", Char, 0, "",       -1, -1);
        row("scroll keeps selection", "scroll", Char, 5, "97",    -1, -1);
        // clang-format on
    }
    static QString Query(QAccessibleInterface* box, const QString& query, int boundary, int offset,
                         int* start, int* end) {
        QAccessibleTextInterface* text = box->textInterface();
        const auto type = QAccessible::TextBoundaryType(boundary);
        if (query == "at") return text->textAtOffset(offset, type, start, end);
        if (query == "before") return text->textBeforeOffset(offset, type, start, end);
        if (query == "after") return text->textAfterOffset(offset, type, start, end);
        if (query == "attributes") return text->attributes(offset, start, end);
        if (query == "value") return box->text(QAccessible::Value);
        if (query == "count") return QString::number(text->characterCount());
        if (query == "cursor") return QString::number(text->cursorPosition());
        if (query == "select") {  // from `offset` to the end, read back from the box
            text->setSelection(0, offset, -1);
            return static_cast<QLineEdit*>(box->object())->selectedText();
        }
        if (query == "text") return text->text(offset, boundary);
        text->setSelection(0, query == "remove" ? 0 : 1, 3);
        if (query == "remove") text->removeSelection(offset);
        if (query == "scroll") text->scrollToSubstring(offset, offset + 1);
        return static_cast<QLineEdit*>(box->object())->selectedText();
    }
    void accessibleText() {
        QFETCH(QString, query);
        QFETCH(int, boundary);
        QFETCH(int, offset);
        QFETCH(QString, boxText);
        if (!boxText.isEmpty()) box("D")->setText(boxText);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box("D"));
        QVERIFY(accessible->textInterface());
        int start = -1, end = -1;
        QTEST(Query(accessible, query, boundary, offset, &start, &end), "text");
        QTEST(start, "start");
        QTEST(end, "end");
    }

    // Where a box draws each character, for magnifiers and pointing: inside the box where it
    // shows, agreeing with the box's own hit test, and back again from a point.
    void accessibleGeometry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("shown");      // this character must be within the box
        QTest::addColumn<bool>("leftward");  // the last character left of the first
        QTest::newRow("short") << "997.01" << 0 << 5 << false;
        QTest::newRow("40 digits, cursor at the end")
            << QString(40, '7') + "1" << 41 << 40 << false;
        QTest::newRow("40 digits, cursor at the start")
            << "1" + QString(40, '7') << 0 << 0 << false;
        QTest::newRow("Arabic minus") << QString::fromUtf8("؜-٣٠") << 0 << 3 << true;
        QTest::newRow("surrogate pairs") << QString::fromUtf8("𝟑𝟎") << 4 << 2 << false;
        // Long texts are measured piece by piece: the pieces must add up to where the box draws.
        QTest::newRow("5000 digits, across pieces")
            << QString(5000, '7') + "1" << 1030 << 1029 << false;
        QTest::newRow("a blank ends a piece")
            << QString("12 3 ").repeated(1200) << 2052 << 2051 << false;
        QTest::newRow("Adlam digits, right to left")
            << QString::fromUtf8("𞥓").repeated(2500) << 5000 << 2499 << true;
    }
    void accessibleGeometry() {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, shown);
        QFETCH(bool, leftward);
        QLineEdit* density = box("D");
        density->setText(text);
        density->setCursorPosition(cursor);
        density->repaint();  // the box scrolls as it paints
        QAccessibleTextInterface* accessible =
            QAccessible::queryAccessibleInterface(density)->textInterface();
        const QRect inside(density->mapToGlobal(QPoint(0, 0)), density->size());
        QVERIFY(inside.contains(accessible->characterRect(shown)));
        const int last = accessible->characterCount() - 1;
        QCOMPARE(accessible->characterRect(last).x() < accessible->characterRect(0).x(), leftward);
        for (int offset = 0; offset < accessible->characterCount(); ++offset) {
            const QRect rect = accessible->characterRect(offset);
            const bool invisible =  // a mark
                accessible->text(offset, offset + 1)[0].category() == QChar::Other_Format;
            QVERIFY(rect.width() > 0 || invisible);
            if (!inside.contains(rect) || invisible) continue;
            const QPoint middle = density->mapFromGlobal(rect.center());
            // A boundary of this character; the box counts UTF-16 units, the reader characters.
            const int own = int(text.left(density->cursorPositionAt(middle)).toUcs4().size());
            int start = 0, end = 0;
            accessible->textAtOffset(offset, QAccessible::CharBoundary, &start, &end);
            QVERIFY2(own == start || own == end, qPrintable(QString::number(offset)));
            QCOMPARE(accessible->offsetAtPoint(rect.center()), start);
        }
        QCOMPARE(accessible->offsetAtPoint(inside.topLeft() - QPoint(1, 1)), -1);
        // The caret after the last character, where it sits after typing: a place in the box,
        // of the line's height, for a magnifier to follow.
        density->setCursorPosition(int(text.size()));
        density->repaint();
        const QRect caret = accessible->characterRect(accessible->characterCount());
        QVERIFY(caret.height() > 0 && caret.width() <= 1);
        QVERIFY(inside.contains(caret.topLeft()));
    }

    // What a box tells of its changes reaches screen readers in characters too. (Offscreen
    // Qt has no bridge to send the box's own events through: they are handed to the window's
    // handler here, as Qt would.)
    void changesToldInCharacters() {
        const QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(handler);
        box("D")->setText(QString::fromUtf8("𝟑𝟎"));
        QAccessibleTextCursorEvent caret(box("D"), 2);  // after 𝟑, in UTF-16
        handler(&caret);
        QCOMPARE(toldCaret["D"], 1);
        QAccessibleTextInsertEvent inserted(box("D"), 2, QString::fromUtf8("𝟎"));
        handler(&inserted);
        QCOMPARE(toldCaret["D"], 2);
        QCOMPARE(toldInsert, 1);
    }

    // Other line edits in the process keep Qt's own accessible text: ours is the calculator's.
    // An announcement is still showing when a screen reader asks about it, and gone after.
    void announcementShowsAWhile() {
        auto* announcer = window->findChild<quorvane::Announcer*>("Announcer");
        announcer->Announce("Power 13.967 kilowatts");
        QTest::qWait(1500);  // a screen reader asks over D-Bus, a while after it is told
        QVERIFY(announcer->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(announcer->isHidden(), 2000);
    }

    void accessibleForOwnBoxesOnly() {
        QLineEdit other("-6.5E+3");
        int start = 0, end = 0;
        QAccessible::queryAccessibleInterface(&other)->textInterface()->textAtOffset(
            1, QAccessible::WordBoundary, &start, &end);
        QVERIFY(end - start < 7);
    }

    // One click in the result and Ctrl+C copies all of it; a selection, just that.
    void copyResult() {
        QApplication::clipboard()->clear();
        driver->click("P");
        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("6.983"));
        box("P")->setSelection(0, 1);
        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("6"));
    }

    // The separator stays visible, at least one device pixel thick, at every scale and font.
    void lineAtEveryScale_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("points");
        for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5})
            for (int points : {9, 11, 13})
                QTest::addRow("%g %d pt", scale, points) << scale << points;
    }
    void lineAtEveryScale() {
        QFETCH(double, scale);
        QFETCH(int, points);
        const auto held = WindowAtFont(points);
        const AtFont& window = *held;
        const QRect line = Find(*window, "Line1")->geometry();
        QImage image((QSizeF(window->size()) * scale).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        window->render(&image);
        int drawn = 0;  // dark pixels down the line's middle, within a pixel of where it lies
        for (int y = int(line.top() * scale) - 1; y <= int((line.bottom() + 1) * scale) + 1; ++y)
            drawn += image.pixelColor(int(line.center().x() * scale), y).lightness() < 128;
        QVERIFY2(drawn >= 1, qPrintable(QString("line at %1 not drawn").arg(line.top())));
    }

    // A double-click selects the whole number; triple-click and Ctrl+A still select all.
    void selectWholeNumber_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("clicks");  // 2 or 3
        QTest::addColumn<QPoint>("at");   // where, from the box's left edge and middle
        QTest::addColumn<QString>("selected");
        QTest::newRow("double-click on the decimals") << "P" << 2 << QPoint(40, 0) << "6.983";
        QTest::newRow("double-click on the units") << "P" << 2 << QPoint(8, 0) << "6.983";
        QTest::newRow("double-click in D") << "D" << 2 << QPoint(30, 0) << "997.01";
        QTest::newRow("triple-click") << "D" << 3 << QPoint(30, 0) << "997.01";
    }
    void selectWholeNumber() {
        QFETCH(QString, name);
        QFETCH(int, clicks);
        QFETCH(QPoint, at);
        QLineEdit* target = box(qPrintable(name));
        const QPoint point(at.x(), target->height() / 2);
        QTest::mouseDClick(target, Qt::LeftButton, {}, point);
        if (clicks == 3) QTest::mouseClick(target, Qt::LeftButton, {}, point);
        QTEST(target->selectedText(), "selected");
    }

    // Moving and deleting by words goes over the whole number, as a screen reader says it.
    void wordKeys_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("text");  // left in the box
        QTest::addColumn<int>("at");        // the cursor afterwards
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("anchor");  // the selection's other end; -1: none
        const auto row = [](const char* name, int cursor, QKeySequence::StandardKey keys,
                            const char* text, int at, const char* selected = "", int anchor = -1) {
            QTest::newRow(name) << "H" << cursor << QKeySequence(keys) << text << at << selected
                                << anchor;
        };
        row("next word", 0, QKeySequence::MoveToNextWord, "-6.5E+3", 7);
        row("previous word", 7, QKeySequence::MoveToPreviousWord, "-6.5E+3", 0);
        row("select next word", 2, QKeySequence::SelectNextWord, "-6.5E+3", 7, ".5E+3");
        row("delete to the start", 5, QKeySequence::DeleteStartOfWord, "+3", 0);
        QTest::newRow("in the result")
            << "P" << 0 << QKeySequence(QKeySequence::MoveToNextWord) << "-6.5E+3" << 7 << "" << -1;
    }
    void wordKeys() {
        QFETCH(QString, name);
        QFETCH(int, cursor);
        QFETCH(QKeySequence, keys);
        QLineEdit* target = box(qPrintable(name));
        target->setFocus();  // first: leaving H recomputes P
        target->setText("-6.5E+3");
        QFETCH(int, anchor);
        if (anchor >= 0)
            target->setSelection(anchor, cursor - anchor);
        else
            target->setCursorPosition(cursor);
        QTest::keySequence(window->windowHandle(), keys);
        QTEST(target->text(), "text");
        QTEST(target->cursorPosition(), "at");
        QTEST(target->selectedText(), "selected");
    }

    // Qt's Arabic texts turn the application right to left; the window's table stays as laid out.
    void rightToLeftTranslation() {
        QTranslator arabic;
        QVERIFY(arabic.load("qtbase_ar", QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&arabic);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        const quorvane::Quorvane built;
        QCoreApplication::processEvents();
        const Qt::LayoutDirection direction = Find(built, "LiveCalc")->layoutDirection();
        QCoreApplication::removeTranslator(&arabic);
        QCOMPARE(direction, Qt::LeftToRight);
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

    void germanLocale() {
        if (QLocale().decimalPoint() != ",") QSKIP("needs LC_ALL=de_DE.UTF-8");
        QCOMPARE(box("D")->text(), QString("997,01"));
        QCOMPARE(box("H")->text(), QString("30"));
        QCOMPARE(box("P")->text(), QString("6,983"));
        box("Q")->setText("1.000");  // grouped thousands
        driver->click("Command1");
        QCOMPARE(box("P")->text(), QString("116,389"));
        for (const Qt::Key keypadDecimal : {Qt::Key_Period, Qt::Key_Comma}) {
            driver->click("E");
            key(Qt::Key_A, Qt::ControlModifier);
            driver->type("7");
            key(keypadDecimal, Qt::KeypadModifier);
            driver->type("5");
            QCOMPARE(box("E")->text(), QString("7,5"));
        }
        quorvane::InstallQtTranslations();  // Qt's own texts in German, not the captions
        const std::unique_ptr<QMenu> menu(box("D")->createStandardContextMenu());
        QCOMPARE(menu->actions().first()->text(), QString("&Rückgängig\tStrg+Z"));
        QCOMPARE(control<QLabel>("Label5")->text(), QString("Fluid Density"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
