#include "quorvane.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <limits>
#include <map>

#include "app_info.h"
#include "control_table.h"

namespace quorvane {
namespace {

QColor FromColourWord(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(role, FromColourWord(bgr));
    widget->setPalette(palette);
}

// Puts a control where the table says. Captions (labels, the check box) that the font does not
// fit in the given width grow to their text; everything else keeps its size.
void Place(QWidget* control, const ControlEntry& entry, bool growToText = false) {
    const QSize hint = growToText ? control->sizeHint() : QSize();
    control->setGeometry(TwipsToPixels(entry.left), TwipsToPixels(entry.top),
                         std::max(TwipsToPixels(entry.width), hint.width()),
                         std::max(TwipsToPixels(entry.height), hint.height()));
}

// Name, accessible name and text colour, which every kind of control takes from its row.
void Describe(QWidget* control, const ControlEntry& entry, QPalette::ColorRole colourRole) {
    control->setObjectName(entry.name);
    if (entry.accessibleName) control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.colour) SetTextColour(control, colourRole, *entry.colour);
}

bool IsKeypadDecimal(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::KeypadModifier) &&
           (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma);
}

QFrame* CreateLine(const ControlEntry& entry, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(TwipsToPixels(entry.left), TwipsToPixels(entry.top),
                      TwipsToPixels(entry.x2) - TwipsToPixels(entry.left), 1);
    Describe(line, entry, QPalette::WindowText);
    return line;
}

QLabel* CreatePicture(const ControlEntry& entry, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap(entry.resource));
    picture->setScaledContents(entry.stretched);
    Describe(picture, entry, QPalette::WindowText);
    Place(picture, entry);
    return picture;
}

}  // namespace

void SetApplicationInfo() {
    QCoreApplication::setApplicationName(app::kName);
    QCoreApplication::setApplicationVersion(app::kVersion);
    QGuiApplication::setApplicationDisplayName(app::kDisplayName);
    QGuiApplication::setDesktopFileName(app::kId);
}

namespace {

// Qt 6.4 has no public call for group sizes, so they are read off its own output: nines of
// every length from 4 to 10 digits, grouped ("99,99,999" in India, "9999 999" in Poland).
GroupSizes GroupSizesOf(QLocale locale) {
    locale.setNumberOptions(QLocale::DefaultNumberOptions);  // grouping on, even in C
    GroupSizes sizes;
    int leadingMax = 0;
    for (double nines = 9'999; nines < 1e10; nines = nines * 10 + 9) {
        const QStringList groups = locale.toString(nines, 'f', 0).split(locale.groupSeparator());
        if (groups.size() < 2) continue;
        const auto digits = [](const QString& group) { return int(group.toUcs4().size()); };
        leadingMax = std::max(leadingMax, digits(groups.front()));
        sizes.last = digits(groups.back());
        if (groups.size() > 2) sizes.middle = digits(groups[groups.size() - 2]);
    }
    if (leadingMax > 0) sizes.leadingMax = leadingMax;
    return sizes;
}

}  // namespace

NumberFormat NumberFormatOf(const QLocale& locale) {
    return {.decimal = locale.decimalPoint().toStdString(),
            .group = locale.groupSeparator().toStdString(),
            .groupSizes = GroupSizesOf(locale),
            .zero = locale.zeroDigit().toUcs4().value(0, U'0'),
            .minus = locale.negativeSign().toStdString(),
            .plus = locale.positiveSign().toStdString()};
}

NumberFormat UserNumberFormat() {
    return NumberFormatOf(QLocale());
}

Quorvane::Quorvane(QWidget* parent) : QWidget(parent), format_(UserNumberFormat()) {
    setWindowTitle(app::kDisplayName);
    setWindowIcon(QIcon(":/quorvane.ico"));
    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    CreateControls();
    SetFocusOrder();
    ConnectReactions();  // after the initial texts: setting those is no edit

    Power();  // the worked example is on show from the start
    H->setFocus();
}

Quorvane::~Quorvane() {
    // The controls are deleted after this, moving the focus as they go: no reactions from a
    // window that is half gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

// Labels, the line and the pictures come straight from the table; the controls that react or
// are read are created by name and kept.
void Quorvane::CreateControls() {
    for (const ControlEntry& entry : kControls) CreateDecoration(entry);
    H = CreateInputBox(Input::Head);
    Q = CreateInputBox(Input::Flow);
    D = CreateInputBox(Input::Density);
    E = CreateInputBox(Input::Efficiency);
    P = CreateTextBox(Row("P"));
    LiveCalc = CreateCheckBox(Row("LiveCalc"));
    Command1 = CreateButton(Row("Command1"));
}

void Quorvane::CreateDecoration(const ControlEntry& entry) {
    switch (entry.kind) {
        case ControlKind::Label:
            CreateLabel(entry);
            break;
        case ControlKind::Picture:
            CreatePicture(entry, this);
            break;
        case ControlKind::Line:
            CreateLine(entry, this);
            break;
        default:  // created by name in CreateControls
            break;
    }
}

QLabel* Quorvane::CreateLabel(const ControlEntry& entry) {
    auto* label = new QLabel(QString::fromUtf8(entry.text), this);
    Describe(label, entry, QPalette::WindowText);
    Place(label, entry, true);
    return label;
}

QLineEdit* Quorvane::CreateTextBox(const ControlEntry& entry) {
    auto* box = new QLineEdit(this);
    // The defaults are numbers written with a full stop: shown in the user's notation, so they
    // read back as the same numbers in every locale.
    if (*entry.text) {
        const double value = TextToDouble(entry.text, NumberFormat{});
        box->setText(QString::fromStdString(DoubleToText(value, format_)));
    }
    // A box has no length limit of its own; Qt's default would cut a pasted text at 32767.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(entry.readOnly);
    Describe(box, entry, QPalette::Text);
    Place(box, entry);
    return box;
}

QLineEdit* Quorvane::CreateInputBox(Input input) {
    QLineEdit* box = CreateTextBox(InputRow(input));
    box->installEventFilter(this);  // the keypad's decimal key: see eventFilter
    inputBoxes_[std::size_t(input)] = box;
    return box;
}

QCheckBox* Quorvane::CreateCheckBox(const ControlEntry& entry) {
    auto* check = new QCheckBox(QString::fromUtf8(entry.text), this);
    check->setChecked(entry.checked);
    Describe(check, entry, QPalette::WindowText);
    Place(check, entry, true);
    return check;
}

QPushButton* Quorvane::CreateButton(const ControlEntry& entry) {
    auto* button = new QPushButton(QString::fromUtf8(entry.text), this);
    // Enter presses the button when it has the focus. In a plain QWidget there is no default
    // button, so Enter in a text box still presses nothing.
    button->setAutoDefault(true);
    // Alt+C: see eventFilter.
    button->installEventFilter(this);
    Describe(button, entry, QPalette::ButtonText);
    Place(button, entry);
    return button;
}

// The table's tab positions, in order, over the controls that take the focus.
void Quorvane::SetFocusOrder() {
    const std::map<int, QWidget*> byTab = {{Row("H").tab, H},
                                           {Row("Q").tab, Q},
                                           {Row("D").tab, D},
                                           {Row("E").tab, E},
                                           {Row("P").tab, P},
                                           {Row("LiveCalc").tab, LiveCalc},
                                           {Row("Command1").tab, Command1}};
    QWidget* previous = nullptr;
    for (const auto& [tab, control] : byTab) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}

void Quorvane::ConnectReactions() {
    for (QLineEdit* box : inputBoxes_) {
        // Any change of text, typed or set by the program, shows blue for good: nothing turns
        // a box red again.
        connect(box, &QLineEdit::textChanged, box,
                [box] { SetTextColour(box, QPalette::Text, kBlue); });
        // Fires on every Enter, edited or not; the key still goes on to the box.
        connect(box, &QLineEdit::returnPressed, this, [this, box] { InputFinished(box); });
    }
    // editingFinished misses a box left unedited since its last Enter and fires when focus only
    // passes through; the focus change itself says exactly when a box is left.
    connect(qApp, &QApplication::focusChanged, this, &Quorvane::OnFocusChanged);
    connect(LiveCalc, &QCheckBox::clicked, this, [this] { LiveRecalc(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Power(); });
}

void Quorvane::OnFocusChanged(QWidget* old, QWidget* now) {
    // Another application, or the box's own context menu, is no other control of ours.
    if (movingFocus_ || now == nullptr || now->window() != this) return;
    for (QLineEdit* box : inputBoxes_)
        if (old == box) InputFinished(box);
}

void Quorvane::InputFinished(QLineEdit* box) {
    if (box == E) CheckEfficiencyLimit();
    LiveRecalc();
}

void Quorvane::LiveRecalc() {
    if (LiveCalc->checkState() == Qt::Unchecked)
        P->clear();
    else
        Power();  // checked or greyed
}

void Quorvane::CheckEfficiencyLimit() {
    double efficiency = 0;
    try {
        efficiency = TextToDouble(E->text().toStdString(), format_);
    } catch (const ConversionError&) {
        return;  // nothing to compare; the recalculation that follows empties the result
    }
    if (efficiency > 100) {
        E->clear();
        // At once, not later: a deferred focus change would swallow the click that moved it.
        const QScopedValueRollback guard(movingFocus_, true);
        E->setFocus(Qt::OtherFocusReason);
    }
}

std::optional<double> Quorvane::Power() {
    return quorvane::Power(*this, format_);
}

std::string Quorvane::InputText(Input input) {
    return inputBoxes_[std::size_t(input)]->text().toStdString();
}

void Quorvane::SetPowerText(std::string_view text) {
    P->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

bool Quorvane::eventFilter(QObject* watched, QEvent* event) {
    // Qt's access key clicks a button without moving the focus; move it first, as a mouse
    // click does, so that the box being left reacts before the click.
    if (watched == Command1 && event->type() == QEvent::Shortcut) {
        Command1->setFocus(Qt::ShortcutFocusReason);
        Command1->click();
        return true;
    }
    // The keypad's decimal key types the locale's decimal separator, as in a spreadsheet: on a
    // French keypad it types ".", which no French number has. Nothing else is filtered.
    const bool inputBox = std::ranges::find(inputBoxes_, watched) != inputBoxes_.end();
    if (inputBox && event->type() == QEvent::KeyPress &&
        IsKeypadDecimal(*static_cast<QKeyEvent*>(event))) {
        static_cast<QLineEdit*>(watched)->insert(QString::fromStdString(format_.decimal));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorvane
