// The calculator's one window, Quorvane, in Qt Widgets.
//
// What each key, click and focus change does is decided in the shared reactions
// (reactions.h); this window turns Qt's events into their calls and carries out what they ask
// as a WindowView:
//  - textChanged: TextChanged, which turns the box blue for good;
//  - returnPressed in an input box: EnterTyped;
//  - the focus moving from an input box to another control of this window (OnFocusChanged):
//    FocusLeft;
//  - the check box's and the Calculate button's clicks: LiveCalcClicked, CalculatePressed;
//  - what screen readers are told goes out through the Announcer, after the focus events.
// The window is built from the control table (control_table.h), laid out at one factor of 15
// twips to a pixel that fits its font, in the desktop's palette, its colours kept readable.
#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "number_text.h"
#include "power.h"
#include "reactions.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorvane {

class Announcer;
struct ControlEntry;

class Quorvane : public QWidget, private WindowView {
    Q_OBJECT

  public:
    explicit Quorvane(QWidget* parent = nullptr);
    ~Quorvane() override;

    // Computes the power from the four boxes and shows it; empties the result box on failure.
    std::optional<double> Power();

    // How many times 15 twips to a pixel the window is laid out at, for its font.
    double TwipsFactor() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // WindowView, for the reactions and the core's Power.
    std::string InputText(Input input) override;
    void SetPowerText(std::string_view text) override;
    std::string PowerText() override;
    LiveState LiveCalcState() override;
    void EmptyInput(Input input) override;
    void ShowEdited(Input input) override;
    bool HasFocus(Input input) override;
    void FocusInput(Input input) override;
    void ScheduleDelivery() override;
    void Say(const std::string& words, bool urgent) override;
    void TellFocus(Input input) override;

    // Building the window from the control table.
    void CreateControls();
    void CreateDecoration(const ControlEntry& entry);
    QLineEdit* CreateTextBox(const ControlEntry& entry);
    QLineEdit* CreateInputBox(Input input);
    QCheckBox* CreateCheckBox(const ControlEntry& entry);
    QPushButton* CreateButton(const ControlEntry& entry);
    // Names and colours a new control from its row, and keeps it for LayOut.
    template <typename Control>
    Control* Keep(Control* control, const ControlEntry& entry);
    void Colour(QWidget* control, const ControlEntry& entry);
    void LayOut();
    void DrawPictures();
    void FollowScreen();
    double FontFactor() const;
    void FitFontToScreen();
    void SetFocusOrder();
    void ConnectReactions();

    void OnFocusChanged(QWidget* old, QWidget* now);
    QLineEdit* Box(Input input) const { return inputBoxes_[std::size_t(input)]; }

    Reactions reactions_;
    std::array<QLineEdit*, 4> inputBoxes_{};                         // by Input
    std::vector<std::pair<QWidget*, const ControlEntry*>> laidOut_;  // every control, its row
    double twipsFactor_ = 1.0;
    Announcer* announcer_ = nullptr;
    std::array<QMetaObject::Connection, 3> screenConnections_;  // to the window's screen

    // The controls that react or are read, under their fixed names.
    QLineEdit* H = nullptr;
    QLineEdit* Q = nullptr;
    QLineEdit* D = nullptr;
    QLineEdit* E = nullptr;
    QLineEdit* P = nullptr;
    QCheckBox* LiveCalc = nullptr;
    QPushButton* Command1 = nullptr;
};

}  // namespace quorvane
