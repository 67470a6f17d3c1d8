#include "quorvane.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "control_table.h"

using quorvane::ControlEntry;
using quorvane::ControlKind;
using quorvane::TwipsToPixels;

namespace {

QColor FromColourWord(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(role, FromColourWord(bgr));
    widget->setPalette(palette);
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::CheckBox ||
           kind == ControlKind::Button;
}

}  // namespace

namespace quorvane {

void SetApplicationInfo() {
    QCoreApplication::setApplicationName("quorvane");
    QCoreApplication::setApplicationVersion(QUORVANE_VERSION);
    QGuiApplication::setApplicationDisplayName("Quorvane Calculator");
    QGuiApplication::setDesktopFileName("org.quorvane.Calculator");
}

NumberFormat UserNumberFormat() {
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

}  // namespace quorvane

Quorvane::Quorvane(QWidget* parent) : QWidget(parent), format_(quorvane::UserNumberFormat()) {
    setWindowTitle("Quorvane Calculator");
    setWindowIcon(QIcon(":/quorvane.ico"));
    setFixedSize(TwipsToPixels(quorvane::kClientWidth), TwipsToPixels(quorvane::kClientHeight));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    BuildControls();

    Power();  // the worked example is on show from the start
    H->setFocus();
}

Quorvane::~Quorvane() {
    // The controls are deleted after this, moving the focus as they go: no reactions from a
    // window that is half gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void Quorvane::BuildControls() {
    std::vector<std::pair<int, QWidget*>> focusOrder;
    for (const ControlEntry& entry : quorvane::kControls) {
        QWidget* control = BuildControl(entry);
        if (TakesFocus(entry.kind)) focusOrder.emplace_back(entry.tab, control);
    }
    std::sort(focusOrder.begin(), focusOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);

    H = findChild<QLineEdit*>("H");
    Q = findChild<QLineEdit*>("Q");
    D = findChild<QLineEdit*>("D");
    E = findChild<QLineEdit*>("E");
    P = findChild<QLineEdit*>("P");
    LiveCalc = findChild<QCheckBox*>("LiveCalc");
    Command1 = findChild<QPushButton*>("Command1");
    Command1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, [this] { Power(); });
    ConnectReactions();  // after the initial texts: setting those is no edit
}

void Quorvane::ConnectReactions() {
    for (QLineEdit* box : {H, Q, D, E}) {
        // Edited values show blue, for good: nothing turns a box red again.
        connect(box, &QLineEdit::textChanged, box,
                [box] { SetTextColour(box, QPalette::Text, quorvane::kBlue); });
        // Fires on every Enter, edited or not; the key still goes on to the box.
        connect(box, &QLineEdit::returnPressed, this, [this, box] { InputFinished(box); });
    }
    // editingFinished misses a box left unedited since its last Enter and fires when focus only
    // passes through; the focus change itself says exactly when a box is left.
    connect(qApp, &QApplication::focusChanged, this, &Quorvane::OnFocusChanged);
    connect(LiveCalc, &QCheckBox::clicked, this, [this] { LiveRecalc(); });
}

void Quorvane::OnFocusChanged(QWidget* old, QWidget* now) {
    // Another application, or the box's own context menu, is no other control of ours.
    if (movingFocus_ || now == nullptr || now->window() != this) return;
    for (QLineEdit* box : {H, Q, D, E})
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
        efficiency = quorvane::TextToDouble(E->text().toStdString(), format_);
    } catch (const quorvane::ConversionError&) {
        return;  // nothing to compare; the recalculation that follows empties the result
    }
    if (efficiency > 100) {
        E->clear();
        // At once, not later: a deferred focus change would swallow the click that moved it.
        const QScopedValueRollback guard(movingFocus_, true);
        E->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* Quorvane::BuildControl(const ControlEntry& entry) {
    const QString text = QString::fromUtf8(entry.text);
    const QRect given(TwipsToPixels(entry.left), TwipsToPixels(entry.top),
                      TwipsToPixels(entry.width), TwipsToPixels(entry.height));
    QWidget* control = nullptr;
    QPalette::ColorRole colourRole = QPalette::WindowText;
    bool growToText = false;

    switch (entry.kind) {
        case ControlKind::Label:
            control = new QLabel(text, this);
            growToText = true;
            break;
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(this);
            // The defaults are numbers: written in the user's notation, so they read back as
            // the same numbers in every locale.
            if (!text.isEmpty()) {
                const double value = quorvane::TextToDouble(entry.text, quorvane::NumberFormat{});
                box->setText(QString::fromStdString(quorvane::DoubleToText(value, format_)));
            }
            box->setMaxLength(std::numeric_limits<int>::max());
            box->setReadOnly(entry.readOnly);
            colourRole = QPalette::Text;
            control = box;
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(text, this);
            check->setChecked(entry.checked);
            growToText = true;
            control = check;
            break;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);  // Enter in a box must not press it
            control = button;
            break;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(this);
            picture->setPixmap(QPixmap(text));
            picture->setScaledContents(entry.stretched);
            control = picture;
            break;
        }
        case ControlKind::Line: {
            auto* line = new QFrame(this);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Plain);
            line->setLineWidth(1);
            line->setGeometry(TwipsToPixels(entry.left), TwipsToPixels(entry.top),
                              TwipsToPixels(entry.width) - TwipsToPixels(entry.left), 1);
            control = line;
            break;
        }
    }

    control->setObjectName(entry.name);
    if (entry.accessibleName) control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.colour != quorvane::kDefaultColour) SetTextColour(control, colourRole, entry.colour);
    if (entry.kind != ControlKind::Line) {
        // The given widths are too narrow for some captions in the default font: let those grow.
        const QSize hint = growToText ? control->sizeHint() : QSize();
        control->setGeometry(given.x(), given.y(), std::max(given.width(), hint.width()),
                             std::max(given.height(), hint.height()));
    }
    return control;
}

std::optional<double> Quorvane::Power() {
    return quorvane::Power(*this, format_);
}

std::string Quorvane::InputText(quorvane::Input box) {
    switch (box) {
        case quorvane::Input::D:
            return D->text().toStdString();
        case quorvane::Input::H:
            return H->text().toStdString();
        case quorvane::Input::Q:
            return Q->text().toStdString();
        case quorvane::Input::E:
            return E->text().toStdString();
    }
    return {};
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
    return QWidget::eventFilter(watched, event);
}
