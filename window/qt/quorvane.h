// The calculator's one window, Quorvane, in Qt Widgets.
//
// What each key, click, press and focus change means is decided in the shared reactions
// (reactions.h); this window only reports Qt's events in their words and carries out what they
// ask as a WindowView, each control reached by its row of the control table:
//  - a box's textChanged: TextChanged; a drop or a screen reader's edit: TextArriving;
//  - keys (eventFilter): KeyPressed, whose KeyAction it carries out; the access key arrives as
//    Qt's Shortcut event on the button;
//  - a mouse or touch press anywhere in the window, before the control sees it: PressBegun, and
//    its release or cancel: PressEnded;
//  - QApplication::focusChanged: FocusLeft; the check box's and the button's clicks: Clicked.
// What screen readers are told goes out through the Announcer. The window is built from the
// table, laid out at one factor of 15 twips to a pixel that fits its font and screen.
#pragma once

#include <QWidget>
#include <array>

#include "reactions.h"

class QKeyEvent;
class QLineEdit;

namespace quorvane {

class Announcer;

class Quorvane : public QWidget, private WindowView {
    Q_OBJECT

  public:
    explicit Quorvane(QWidget* parent = nullptr);
    ~Quorvane() override;

    // How many times 15 twips to a pixel the window is laid out at, for its font.
    double TwipsFactor() const { return twipsFactor_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    std::string Text(const ControlEntry& control) override;
    void SetText(const ControlEntry& control, std::string_view text) override;
    LiveState Checked(const ControlEntry& control) override;
    void Recolour(const ControlEntry& control) override;
    bool HasFocus(const ControlEntry& control) override;
    void Focus(const ControlEntry& control) override;
    void ScheduleDelivery() override;
    void Say(const std::string& words, bool urgent) override;
    void TellFocus(const ControlEntry& control) override;

    void Create(const ControlEntry& entry);
    QWidget* CreateBox(const ControlEntry& entry);
    void ConnectReactions();
    void LayOut();
    void DrawPictures();
    void FollowScreen();
    void FitFontToScreen();
    bool KeyPressed(const ControlEntry& control, const QKeyEvent& key);
    void OnFocusChanged(QWidget* old, QWidget* now);

    QWidget* Control(const ControlEntry& entry) const { return controls_[RowIndex(entry)]; }
    QLineEdit* Box(const ControlEntry& entry) const;
    const ControlEntry* EntryOf(const QObject* control) const;  // null: none of ours

    Reactions reactions_;
    std::array<QWidget*, kControls.size()> controls_{};  // by row
    double twipsFactor_ = 1.0;
    Announcer* announcer_ = nullptr;
    std::array<QMetaObject::Connection, 3> screenConnections_;  // to the window's screen
};

}  // namespace quorvane
