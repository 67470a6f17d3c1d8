#include "quorvane.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>

#include "accessible_factory.h"
#include "announcer.h"
#include "app_info.h"
#include "colour_rule.h"
#include "number_box.h"
#include "number_format.h"
#include "pictures.h"

namespace quorvane {
namespace {

Rgb ToRgb(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return {rgb.red(), rgb.green(), rgb.blue()};
}

// The palette role of a control's text, and what that text is drawn on.
QPalette::ColorRole TextRole(ControlKind kind) {
    return kind == ControlKind::TextBox  ? QPalette::Text
           : kind == ControlKind::Button ? QPalette::ButtonText
                                         : QPalette::WindowText;
}
QPalette::ColorRole BackgroundOf(QPalette::ColorRole text) {
    return text == QPalette::Text         ? QPalette::Base
           : text == QPalette::ButtonText ? QPalette::Button
                                          : QPalette::Window;
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

// The key in shared words; none for a key the reactions leave to Qt.
std::optional<Key> SharedKey(const QKeyEvent& key) {
    const bool keypad = key.modifiers().testFlag(Qt::KeypadModifier);
    if (keypad && (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma))
        return Key::KeypadDecimal;  // not the keypad's Delete with NumLock off
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return Key::Enter;
    if (key.key() == Qt::Key_Escape) return Key::Escape;
    if (key.matches(QKeySequence::DeleteStartOfWord)) return Key::WordBack;
    if (key.matches(QKeySequence::DeleteEndOfWord)) return Key::WordForward;
    if (key.matches(QKeySequence::Copy)) return Key::Copy;
    return std::nullopt;
}

Caret CaretOf(const QLineEdit* box) {
    const int cursor = box->cursorPosition();
    const bool any = box->hasSelectedText();
    return {.length = int(box->text().size()),
            .cursor = cursor,
            .selectionStart = any ? box->selectionStart() : cursor,
            .selectionEnd = any ? box->selectionEnd() : cursor};
}

bool IsPressBegun(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
           type == QEvent::TouchBegin;
}
bool IsPressEnded(QEvent::Type type) {
    return type == QEvent::MouseButtonRelease || type == QEvent::TouchEnd ||
           type == QEvent::TouchCancel;
}

}  // namespace

Quorvane::Quorvane(QWidget* parent) : QWidget(parent), reactions_(*this, UserNumberFormat()) {
    InstallAccessibility();
    setWindowTitle(app::kDisplayName);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The table lays the captions out left to right, in English: a right-to-left language's
    // translations of Qt's own texts mirror no part of it.
    setLayoutDirection(Qt::LeftToRight);
    // Screen readers name a box by the label created just before it.
    for (const ControlEntry* entry : CreationOrder()) Create(*entry);
    announcer_ = new Announcer(this);
    QWidget* previous = nullptr;
    for (const ControlEntry* entry : FocusOrder()) {
        if (previous) setTabOrder(previous, Control(*entry));
        previous = Control(*entry);
    }
    LayOut();
    ConnectReactions();  // after the initial texts: setting those is no edit
    FollowScreen();
    setWindowIcon(ApplicationIcon());
    reactions_.Load();
    Control(Row("H"))->setFocus();
}

Quorvane::~Quorvane() {
    // The controls are deleted after this, moving the focus as they go: no reactions from a
    // window that is half gone.
    qApp->removeEventFilter(this);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void Quorvane::Create(const ControlEntry& entry) {
    QWidget* control = nullptr;
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
        case ControlKind::Label:
            control = new QLabel(text, this);
            break;
        case ControlKind::Picture:
            control = new QLabel(this);
            static_cast<QLabel*>(control)->setScaledContents(entry.stretched);
            break;
        case ControlKind::Line:
            control = new Rule(this);
            break;
        case ControlKind::TextBox:
            control = CreateBox(entry);
            break;
        case ControlKind::CheckBox:
            control = new QCheckBox(text, this);
            static_cast<QCheckBox*>(control)->setChecked(entry.checked);
            break;
        case ControlKind::Button:
            control = new QPushButton(text, this);
            // Drawn as a button Enter presses when it has the focus.
            static_cast<QPushButton*>(control)->setAutoDefault(true);
            break;
    }
    controls_[RowIndex(entry)] = control;
    control->setObjectName(entry.name);
    if (entry.accessibleName) control->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.description) control->setAccessibleDescription(entry.description);
    Recolour(entry);
}

QWidget* Quorvane::CreateBox(const ControlEntry& entry) {
    auto* box = new NumberBox(this);
    box->setText(QString::fromStdString(DefaultText(entry, reactions_.Format())));
    // A box has no length limit of its own; Qt's default would cut a pasted text at 32767.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(entry.readOnly);
    box->textArriving = [this, &entry] { reactions_.TextArriving(entry); };
    for (const ControlEntry& caption : kControls)  // "labelled by", for screen readers
        if (entry.caption && std::string_view(entry.caption) == caption.name)
            static_cast<QLabel*>(Control(caption))->setBuddy(box);
    return box;
}

void Quorvane::ConnectReactions() {
    for (const ControlEntry& entry : kControls)
        if (entry.kind == ControlKind::TextBox)
            connect(Box(entry), &QLineEdit::textChanged, this,
                    [this, &entry] { reactions_.TextChanged(entry); });
    for (const ControlEntry* entry : {&Row("LiveCalc"), &Row("Command1")})
        connect(static_cast<QAbstractButton*>(Control(*entry)), &QAbstractButton::clicked, this,
                [this, entry] { reactions_.Clicked(*entry); });
    // editingFinished misses a box left unedited since its last Enter and fires when focus only
    // passes through; the focus change itself says exactly when a box is left.
    connect(qApp, &QApplication::focusChanged, this, &Quorvane::OnFocusChanged);
    // Presses anywhere in the window, and keys, before any control of it sees them.
    qApp->installEventFilter(this);
}

QLineEdit* Quorvane::Box(const ControlEntry& entry) const {
    return static_cast<QLineEdit*>(Control(entry));
}

const ControlEntry* Quorvane::EntryOf(const QObject* control) const {
    const auto found = std::ranges::find(controls_, control);
    return found == controls_.end() ? nullptr : &kControls[std::size_t(found - controls_.begin())];
}

void Quorvane::changeEvent(QEvent* event) {
    // The window is fixed in size: where a title bar still offers to maximize it (Qt 6.4's own
    // Wayland decoration draws that button whatever the window's flags), it stays as it is.
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    if (event->type() == QEvent::PaletteChange) {  // the desktop's, as the window has no own
        for (const ControlEntry& entry : kControls) Recolour(entry);
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

// One factor for the whole table, so that its proportions hold.
void Quorvane::LayOut() {
    setFont(QFont());  // the application's, however far it was shrunk before
    FitFontToScreen();
    const auto px = [this](int twips) { return TwipsToPixels(twips, twipsFactor_); };
    for (const ControlEntry& e : kControls)
        Control(e)->setGeometry(px(e.left), px(e.top),
                                e.kind == ControlKind::Line ? px(e.x2) - px(e.left) : px(e.width),
                                e.kind == ControlKind::Line ? 1 : px(e.height));
    setFixedSize(px(kClientWidth), px(kClientHeight));
    DrawPictures();
}

// The pictures at their frames' size in device pixels: the formula in the ink the palette asks
// for, the logo in its colours on its white plate.
void Quorvane::DrawPictures() {
    const QPalette p = palette();
    const Ink ink = FormulaInk(ToRgb(p.color(QPalette::Window)), ToRgb(p.color(QPalette::Base)),
                               ToRgb(p.color(QPalette::WindowText)));
    for (const ControlEntry& entry : kControls) {
        if (entry.kind != ControlKind::Picture) continue;
        auto* label = static_cast<QLabel*>(Control(entry));
        const qreal scale = devicePixelRatioF();
        const QString name = QString::fromUtf8(entry.resource);  // ":/logo.svg": "logo"
        QImage image = DrawPicture(name.mid(2).chopped(4), label->size() * scale,
                                   entry.stretched ? kBlackOnWhite : ink);
        image.setDevicePixelRatio(scale);
        label->setPixmap(QPixmap::fromImage(std::move(image)));
    }
}

// The factor every caption's font needs, unless the window would then be larger than its
// screen's available area (less a title bar): then the largest font that fits.
void Quorvane::FitFontToScreen() {
    const QSize available = screen()->availableGeometry().size() -
                            QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const auto needed = [this] {
        double factor = 1.0;
        for (const ControlEntry& e : kControls)
            if (e.kind != ControlKind::Picture && e.kind != ControlKind::Line) {
                const QSize hint = Control(e)->sizeHint();
                factor = std::max(factor, FactorFor(e, hint.width(), hint.height()));
            }
        return factor;
    };
    const auto shrink = [this] {
        QFont smaller = font();
        FontSize size{.points = std::max(0.0, smaller.pointSizeF()), .pixels = smaller.pixelSize()};
        if (!ShrinkFont(size, logicalDpiY())) return false;
        size.points > 0 ? smaller.setPointSizeF(size.points) : smaller.setPixelSize(size.pixels);
        setFont(smaller);
        return true;
    };
    twipsFactor_ =
        FitToScreen(FittingFactor(available.width(), available.height()), needed, shrink);
}

void Quorvane::OnFocusChanged(QWidget* old, QWidget* now) {
    // Another application, or the box's own context menu, is no control of ours.
    if (const ControlEntry* from = EntryOf(old))
        reactions_.FocusLeft(*from, now && now->window() == this ? EntryOf(now) : nullptr);
}

bool Quorvane::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A press's release may reach a menu of Qt's own, outside the window: any ends it.
    if (IsPressEnded(type)) reactions_.PressEnded();
    const ControlEntry* entry = EntryOf(watched);
    if (IsPressBegun(type) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        reactions_.PressBegun();
    if (entry && type == QEvent::Shortcut && entry == &Row("Command1"))
        return reactions_.KeyPressed(*entry, Key::AccessKey).swallow;
    if (entry && type == QEvent::KeyPress)
        return KeyPressed(*entry, static_cast<const QKeyEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

// The key's meaning carried out: true where Qt's own handling is skipped.
bool Quorvane::KeyPressed(const ControlEntry& control, const QKeyEvent& key) {
    const std::optional<Key> shared = SharedKey(key);
    if (!shared) return false;
    QLineEdit* box = control.kind == ControlKind::TextBox ? Box(control) : nullptr;
    const KeyAction action = reactions_.KeyPressed(control, *shared, box ? CaretOf(box) : Caret{});
    if (action.replace && box) {
        box->setSelection(action.replace->start, action.replace->end - action.replace->start);
        box->insert(QString::fromStdString(action.with));  // textChanged: typing
    }
    if (action.copy) QGuiApplication::clipboard()->setText(QString::fromStdString(*action.copy));
    return action.swallow;
}

std::string Quorvane::Text(const ControlEntry& control) {
    return Box(control)->text().toStdString();
}

void Quorvane::SetText(const ControlEntry& control, std::string_view text) {
    Box(control)->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

LiveState Quorvane::Checked(const ControlEntry& control) {
    const Qt::CheckState state = static_cast<QCheckBox*>(Control(control))->checkState();
    return state == Qt::Unchecked          ? LiveState::Unchecked
           : state == Qt::PartiallyChecked ? LiveState::Greyed
                                           : LiveState::Checked;
}

// In the reactions' colour, or the palette's own, as readable as the window's palette allows;
// from that palette afresh, so that a change of the desktop's palette is followed.
void Quorvane::Recolour(const ControlEntry& control) {
    QWidget* widget = Control(control);
    widget->setPalette(QPalette());
    QPalette palette = widget->palette();
    const QPalette::ColorRole role = TextRole(control.kind);
    const std::optional<std::uint32_t> colour = reactions_.Colour(control);
    const Rgb wanted = colour ? FromColourWord(*colour) : ToRgb(palette.color(role));
    const Rgb legible = Legible(wanted, ToRgb(palette.color(BackgroundOf(role))));
    palette.setColor(role, QColor(legible.red, legible.green, legible.blue));
    widget->setPalette(palette);
}

bool Quorvane::HasFocus(const ControlEntry& control) {
    return Control(control)->hasFocus();
}

void Quorvane::Focus(const ControlEntry& control) {
    Control(control)->setFocus(Qt::OtherFocusReason);
}

void Quorvane::ScheduleDelivery() {
    QMetaObject::invokeMethod(
        this, [this] { reactions_.Deliver(); }, Qt::QueuedConnection);
}

// Qt's notifications have no urgency: each is shown in its turn.
void Quorvane::Say(const std::string& words, bool) {
    announcer_->Announce(QString::fromStdString(words));
}

void Quorvane::TellFocus(const ControlEntry& control) {
    announcer_->TellFocus(Control(control));
}

}  // namespace quorvane
