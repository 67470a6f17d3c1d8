#include "quorvane.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "accessibility.h"
#include "app_info.h"
#include "colour_rule.h"
#include "colours.h"
#include "control_table.h"
#include "number_box.h"
#include "number_format.h"
#include "pictures.h"
#include "rules.h"

namespace quorvane {
namespace {

QColor QColourOf(std::uint32_t bgr) {
    const Rgb rgb = FromColourWord(bgr);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// What each text colour is drawn on.
QPalette::ColorRole BackgroundOf(QPalette::ColorRole text) {
    return text == QPalette::Text         ? QPalette::Base
           : text == QPalette::ButtonText ? QPalette::Button
                                          : QPalette::Window;
}

// Text in `wanted`, or as near to it as stays readable on the user's palette.
void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& wanted) {
    QPalette palette = widget->palette();
    palette.setColor(role, Legible(wanted, palette.color(BackgroundOf(role)), palette));
    widget->setPalette(palette);
}

// A plain line in the text colour, one pixel thick and never thinner than a device pixel: a
// one-pixel frame line falls between device pixels at scales such as 1.5 and vanishes.
class Rule : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const qreal scale = painter.device()->devicePixelRatioF();
        const qreal thickness = std::max(1.0, std::round(scale)) / scale;
        painter.fillRect(QRectF(0, 0, width(), thickness), palette().color(QPalette::WindowText));
    }
};

// Room to spare beside a caption's text, in pixels.
constexpr int kCaptionSpare = 3;

bool IsCaption(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::CheckBox ||
           kind == ControlKind::Button;
}

// How many times 15 twips to a pixel this control needs: its caption's width (and height) with
// a few pixels to spare, or a text box's height, in the size the table gives it.
double FactorFor(const QWidget* control, const ControlEntry& entry) {
    const QSize hint = control->sizeHint();
    double factor = double(hint.height()) / TwipsToPixels(entry.height);
    if (IsCaption(entry.kind))
        factor =
            std::max(factor, double(hint.width() + kCaptionSpare) / TwipsToPixels(entry.width));
    return factor;
}

// Name and accessible texts, which every kind of control takes from its row.
void Describe(QWidget* control, const ControlEntry& entry) {
    control->setObjectName(entry.name);
    if (entry.accessibleName) control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.description) control->setAccessibleDescription(entry.description);
}

// The palette role of a control's text.
QPalette::ColorRole TextRole(ControlKind kind) {
    return kind == ControlKind::TextBox  ? QPalette::Text
           : kind == ControlKind::Button ? QPalette::ButtonText
                                         : QPalette::WindowText;
}

bool IsKeypadDecimal(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::KeypadModifier) &&
           (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma);
}

// The fonts from `font` down to the smallest readable size, in points or, for a font given in
// pixels, in pixels: false once there is none smaller.
bool Shrink(QFont& font, qreal logicalDpi) {
    if (font.pointSizeF() > 0) {
        if (font.pointSizeF() <= kSmallestPoints) return false;
        font.setPointSizeF(std::max(kSmallestPoints, font.pointSizeF() - 0.5));
        return true;
    }
    if (font.pixelSize() <= SmallestPixels(logicalDpi)) return false;
    font.setPixelSize(font.pixelSize() - 1);
    return true;
}

}  // namespace

Quorvane::Quorvane(QWidget* parent) : QWidget(parent), reactions_(*this, UserNumberFormat()) {
    InstallAccessibility();
    setWindowTitle(app::kDisplayName);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The table lays the captions out left to right, in English: a right-to-left language's
    // translations of Qt's own texts mirror no part of it.
    setLayoutDirection(Qt::LeftToRight);

    CreateControls();
    LayOut();
    SetFocusOrder();
    ConnectReactions();  // after the initial texts: setting those is no edit
    FollowScreen();
    setWindowIcon(ApplicationIcon());

    reactions_.Load();
    H->setFocus();
}

Quorvane::~Quorvane() {
    // The controls are deleted after this, moving the focus as they go: no reactions from a
    // window that is half gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

double Quorvane::TwipsFactor() const {
    return twipsFactor_;
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
    P->installEventFilter(this);  // Ctrl+C copies the whole result: see eventFilter
    LiveCalc = CreateCheckBox(Row("LiveCalc"));
    Command1 = CreateButton(Row("Command1"));
    announcer_ = new Announcer(this);
}

void Quorvane::CreateDecoration(const ControlEntry& entry) {
    switch (entry.kind) {
        case ControlKind::Label:
            Keep(new QLabel(QString::fromUtf8(entry.text), this), entry);
            break;
        case ControlKind::Picture: {
            auto* picture = Keep(new QLabel(this), entry);
            picture->setScaledContents(entry.stretched);
            break;
        }
        case ControlKind::Line:
            Keep(new Rule(this), entry);
            break;
        default:  // created by name in CreateControls
            break;
    }
}

QLineEdit* Quorvane::CreateTextBox(const ControlEntry& entry) {
    auto* box = Keep(new NumberBox(this), entry);
    box->setText(QString::fromStdString(DefaultText(entry, reactions_.Format())));
    // A box has no length limit of its own; Qt's default would cut a pasted text at 32767.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(entry.readOnly);
    // Screen readers name the box by its caption ("labelled by").
    for (const auto& [control, row] : laidOut_)
        if (entry.caption && std::string_view(row->name) == entry.caption)
            static_cast<QLabel*>(control)->setBuddy(box);
    return box;
}

QLineEdit* Quorvane::CreateInputBox(Input input) {
    QLineEdit* box = CreateTextBox(InputRow(input));
    box->installEventFilter(this);  // the keypad's decimal key: see eventFilter
    static_cast<NumberBox*>(box)->textArriving = [this, input] { reactions_.TextArriving(input); };
    inputBoxes_[std::size_t(input)] = box;
    return box;
}

QCheckBox* Quorvane::CreateCheckBox(const ControlEntry& entry) {
    auto* check = Keep(new QCheckBox(QString::fromUtf8(entry.text), this), entry);
    check->setChecked(entry.checked);
    return check;
}

QPushButton* Quorvane::CreateButton(const ControlEntry& entry) {
    auto* button = Keep(new QPushButton(QString::fromUtf8(entry.text), this), entry);
    // Enter presses the button when it has the focus. In a plain QWidget there is no default
    // button, so Enter in a text box still presses nothing.
    button->setAutoDefault(true);
    button->installEventFilter(this);  // Alt+C: see eventFilter
    return button;
}

template <typename Control>
Control* Quorvane::Keep(Control* control, const ControlEntry& entry) {
    Describe(control, entry);
    Colour(control, entry);
    laidOut_.push_back({control, &entry});
    return control;
}

// The text colour from the row (blue once a box was edited), or the palette's own, as readable
// as the window's palette allows. From that palette afresh, so that a change of the desktop's
// palette is followed.
void Quorvane::Colour(QWidget* control, const ControlEntry& entry) {
    control->setPalette(QPalette());
    const QPalette::ColorRole role = TextRole(entry.kind);
    const bool edited = entry.input && reactions_.Edited(*entry.input);
    SetTextColour(control, role,
                  edited         ? QColourOf(kBlue)
                  : entry.colour ? QColourOf(*entry.colour)
                                 : control->palette().color(role));
}

void Quorvane::changeEvent(QEvent* event) {
    // The window is fixed in size: where a title bar still offers to maximize it (Qt 6.4's own
    // Wayland decoration draws that button whatever the window's flags), it stays as it is.
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    if (event->type() == QEvent::PaletteChange) {  // the desktop's, as the window has no own
        for (const auto& [control, entry] : laidOut_) Colour(control, *entry);
        DrawPictures();
    }
    QWidget::changeEvent(event);
}

bool Quorvane::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // The desktop's font changed: laid out afresh from it, fitted to the screen as at start.
    // On another screen: fitted to that one, the pictures at its resolution.
    if (event->type() == QEvent::ApplicationFontChange) {
        LayOut();
    } else if (event->type() == QEvent::ScreenChangeInternal) {
        LayOut();
        FollowScreen();
    }
    return handled;
}

// A change of the screen's size or resolution while the window stays on it.
void Quorvane::FollowScreen() {
    for (const QMetaObject::Connection& connection : screenConnections_) disconnect(connection);
    QScreen* now = screen();
    screenConnections_ = {
        connect(now, &QScreen::availableGeometryChanged, this, &Quorvane::LayOut),
        connect(now, &QScreen::logicalDotsPerInchChanged, this, &Quorvane::LayOut),
        connect(now, &QScreen::physicalDotsPerInchChanged, this, &Quorvane::LayOut)};
}

// One factor for the whole table, so that its proportions hold: never below 15 twips to a
// pixel, and as large as the font needs for every caption to fit.
void Quorvane::LayOut() {
    setFont(QFont());  // the application's, however far it was shrunk before
    FitFontToScreen();
    const auto px = [this](int twips) { return TwipsToPixels(twips, twipsFactor_); };
    for (const auto& [control, entry] : laidOut_) {
        if (entry->kind == ControlKind::Line) {
            control->setGeometry(px(entry->left), px(entry->top), px(entry->x2) - px(entry->left),
                                 1);
            continue;
        }
        control->setGeometry(px(entry->left), px(entry->top), px(entry->width), px(entry->height));
    }
    setFixedSize(px(kClientWidth), px(kClientHeight));
    DrawPictures();
}

// The pictures at their frames' size in device pixels. The formula is black on white on a
// light palette with white fields, else in the window's text colour on its face; the logo keeps
// its colours on its white plate.
void Quorvane::DrawPictures() {
    const Ink ink = FormulaInk(palette());
    for (const auto& [control, entry] : laidOut_) {
        if (entry->kind != ControlKind::Picture) continue;
        const QSize size = control->size();
        const qreal scale = devicePixelRatioF();
        const QString name = QString::fromUtf8(entry->resource);  // ":/logo.svg": "logo"
        QImage image = DrawPicture(name.mid(2).chopped(4), size * scale,
                                   entry->stretched ? kBlackOnWhite : ink);
        image.setDevicePixelRatio(scale);
        static_cast<QLabel*>(control)->setPixmap(QPixmap::fromImage(std::move(image)));
    }
}

// The factor the font needs: never below 15 twips to a pixel, and as large as every caption
// needs to fit.
double Quorvane::FontFactor() const {
    double factor = 1.0;
    for (const auto& [control, entry] : laidOut_)
        if (IsCaption(entry->kind) || entry->kind == ControlKind::TextBox)
            factor = std::max(factor, FactorFor(control, *entry));
    return factor;
}

// The factor the font needs, unless that would make the window larger than its screen's
// available area (less a title bar): then the largest font that fits, and never larger than
// that area even at the smallest font.
void Quorvane::FitFontToScreen() {
    const QSize available = screen()->availableGeometry().size() -
                            QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    QFont smaller = font();
    twipsFactor_ = FitToScreen(
        FittingFactor(available.width(), available.height()), [this] { return FontFactor(); },
        [this, &smaller] { return Shrink(smaller, logicalDpiY()) && (setFont(smaller), true); });
}

// The table's focus order.
void Quorvane::SetFocusOrder() {
    QWidget* previous = nullptr;
    for (const ControlEntry* entry : FocusOrder()) {
        QWidget* control = findChild<QWidget*>(entry->name, Qt::FindDirectChildrenOnly);
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}

void Quorvane::ConnectReactions() {
    for (const ControlEntry& entry : kControls) {
        if (!entry.input) continue;
        const Input input = *entry.input;
        connect(Box(input), &QLineEdit::textChanged, this,
                [this, input] { reactions_.TextChanged(input); });
        // Fires on every Enter, edited or not; the key still goes on to the box.
        connect(Box(input), &QLineEdit::returnPressed, this,
                [this, input] { reactions_.EnterTyped(input); });
    }
    // editingFinished misses a box left unedited since its last Enter and fires when focus only
    // passes through; the focus change itself says exactly when a box is left.
    connect(qApp, &QApplication::focusChanged, this, &Quorvane::OnFocusChanged);
    connect(LiveCalc, &QCheckBox::clicked, this, [this] { reactions_.LiveCalcClicked(); });
    connect(Command1, &QPushButton::clicked, this, [this] { reactions_.CalculatePressed(); });
}

void Quorvane::OnFocusChanged(QWidget* old, QWidget* now) {
    // Another application, or the box's own context menu, is no other control of ours.
    if (now == nullptr || now->window() != this) return;
    for (const ControlEntry& entry : kControls)
        if (entry.input && old == Box(*entry.input)) reactions_.FocusLeft(*entry.input);
}

std::optional<double> Quorvane::Power() {
    return reactions_.Power();
}

std::string Quorvane::InputText(Input input) {
    return Box(input)->text().toStdString();
}

void Quorvane::SetPowerText(std::string_view text) {
    P->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

std::string Quorvane::PowerText() {
    return P->text().toStdString();
}

LiveState Quorvane::LiveCalcState() {
    switch (LiveCalc->checkState()) {
        case Qt::Unchecked:
            return LiveState::Unchecked;
        case Qt::PartiallyChecked:
            return LiveState::Greyed;
        default:
            return LiveState::Checked;
    }
}

void Quorvane::EmptyInput(Input input) {
    Box(input)->clear();
}

void Quorvane::ShowEdited(Input input) {
    Colour(Box(input), InputRow(input));
}

bool Quorvane::HasFocus(Input input) {
    return Box(input)->hasFocus();
}

void Quorvane::FocusInput(Input input) {
    Box(input)->setFocus(Qt::OtherFocusReason);
}

void Quorvane::ScheduleDelivery() {
    QMetaObject::invokeMethod(
        this, [this] { reactions_.Deliver(); }, Qt::QueuedConnection);
}

// Qt's notifications have no urgency: each is shown in its turn.
void Quorvane::Say(const std::string& words, bool) {
    announcer_->Announce(QString::fromStdString(words));
}

void Quorvane::TellFocus(Input input) {
    announcer_->TellFocus(Box(input));
}

bool Quorvane::eventFilter(QObject* watched, QEvent* event) {
    // Qt's access key clicks a button without moving the focus; move it first, as a mouse
    // click does, so that the box being left reacts before the click.
    if (watched == Command1 && event->type() == QEvent::Shortcut) {
        Command1->setFocus(Qt::ShortcutFocusReason);
        Command1->click();
        return true;
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // One click in the result and Ctrl+C copies all of it; a selection is copied as usual.
    if (watched == P && key.matches(QKeySequence::Copy) && !P->hasSelectedText()) {
        QGuiApplication::clipboard()->setText(P->text());
        return true;
    }
    // The keypad's decimal key types the locale's decimal separator, as in a spreadsheet: on a
    // French keypad it types ".", which no French number has. Nothing else is filtered.
    const bool inputBox = std::ranges::find(inputBoxes_, watched) != inputBoxes_.end();
    if (inputBox && IsKeypadDecimal(key)) {
        static_cast<QLineEdit*>(watched)->insert(
            QString::fromStdString(reactions_.Format().decimal));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorvane
