// The calculator's one window.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "number_text.h"
#include "power.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorvane {
struct ControlEntry;
}

class Quorvane : public QWidget, private quorvane::CalculatorView {
    Q_OBJECT

  public:
    explicit Quorvane(QWidget* parent = nullptr);
    ~Quorvane() override;

    // Computes the power from the four boxes and shows it; empties the result box on failure.
    std::optional<double> Power();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::string InputText(quorvane::Input box) override;
    void SetPowerText(std::string_view text) override;

    void BuildControls();
    QWidget* BuildControl(const quorvane::ControlEntry& entry);
    void ConnectReactions();

    // Enter in an input box, or the focus leaving it for another control of this window.
    void InputFinished(QLineEdit* box);
    void OnFocusChanged(QWidget* old, QWidget* now);
    void LiveRecalc();
    void CheckEfficiencyLimit();

    quorvane::NumberFormat format_;
    QLineEdit* H = nullptr;
    QLineEdit* Q = nullptr;
    QLineEdit* D = nullptr;
    QLineEdit* E = nullptr;
    QLineEdit* P = nullptr;
    QCheckBox* LiveCalc = nullptr;
    QPushButton* Command1 = nullptr;
    bool movingFocus_ = false;  // set while the window moves the focus itself
};

namespace quorvane {

// Name and version of the application, for main() and whoever else creates the QApplication.
void SetApplicationInfo();

// The user's decimal and grouping separators, from QLocale().
NumberFormat UserNumberFormat();

}  // namespace quorvane
