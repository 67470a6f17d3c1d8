// The calculator's one window, Quorvane.
//
// The path of an edit, from key press to result box:
//  1. Typing changes a box's text; textChanged turns that box blue for good
//     (ConnectReactions). The result box keeps its text while the user types.
//  2. Enter in an input box (returnPressed) or the focus moving from it to another control of
//     this window (OnFocusChanged) finishes the input: InputFinished.
//  3. For the efficiency box, CheckEfficiencyLimit comes first: above 100 it empties the box
//     and puts the focus back into it.
//  4. LiveRecalc: with "Perform Live Calculations" unchecked it empties the result box;
//     checked or greyed, it calls Power. AnnouncePower then has screen readers speak the
//     result (after Enter, or when it changed), wherever the focus is.
//  5. Power hands the window, as a CalculatorView, to the core's Power (core/power.h), which
//     reads the four texts through InputText, converts them with TextToDouble in the user's
//     NumberFormat, computes, and writes the result (or "") through SetPowerText into P.
// The Calculate button (click, Space or Enter on it, Alt+C) and the window's construction call
// Power directly, whatever the check box says.
//
// The window is built from the control table (control_table.h), laid out at one factor of 15
// twips to a pixel that fits its font, in the desktop's palette, its colours kept readable.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "number_text.h"
#include "power.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorvane {

class Announcer;
struct ControlEntry;

class Quorvane : public QWidget, private CalculatorView {
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
    // CalculatorView, for the core's Power.
    std::string InputText(Input input) override;
    void SetPowerText(std::string_view text) override;

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
    void SetIcon();
    void FollowScreen();
    double FontFactor() const;
    void FitFontToScreen();
    void SetFocusOrder();
    void ConnectReactions();

    // The reactions.
    void OnFocusChanged(QWidget* old, QWidget* now);
    void InputFinished(QLineEdit* box, bool byEnter);
    void LiveRecalc();
    bool CheckEfficiencyLimit();  // true when it refused the efficiency
    void AnnouncePower(bool efficiencyRefused = false);

    NumberFormat format_;
    std::array<QLineEdit*, 4> inputBoxes_{};  // by Input
    std::array<bool, 4> edited_{};            // by Input: the box's text has changed, it shows blue
    std::vector<std::pair<QWidget*, const ControlEntry*>> laidOut_;  // every control, its row
    double twipsFactor_ = 1.0;
    bool movingFocus_ = false;  // set while the window moves the focus itself
    Announcer* announcer_ = nullptr;
    std::array<QMetaObject::Connection, 3> screenConnections_;  // to the window's screen
    struct ArtworkReader;
    std::unique_ptr<ArtworkReader> artwork_;

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
