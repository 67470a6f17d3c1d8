// Shaft power of a pump from the four input texts of the calculator window.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "number_text.h"

namespace quorvane {

enum class Input { D, H, Q, E };  // density, head, flow, efficiency

// What Power needs of the window: the current input texts, and the result box.
class CalculatorView {
  public:
    virtual ~CalculatorView() = default;
    virtual std::string InputText(Input box) = 0;
    virtual void SetPowerText(std::string_view text) = 0;
};

// A stage of the computation overflowed, divided by zero or had no defined result.
class ArithmeticError : public std::runtime_error {
  public:
    explicit ArithmeticError(int stage)
        : std::runtime_error("non-finite value at stage " + std::to_string(stage)), stage_(stage) {}
    int stage() const noexcept { return stage_; }

  private:
    int stage_;
};

// P [kW] = rho * 9.806 * H * Q / 3600 / eta * 100 / 1000, rounded to 3 decimals and written to
// the result box. On any failure (a text that is no number, a non-finite stage, the view itself
// throwing) the result box is emptied and nothing is returned. Never throws.
std::optional<double> Power(CalculatorView& view, const NumberFormat& format) noexcept;

}  // namespace quorvane
