// Shaft power of a pump from the four input texts of the calculator window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "number_text.h"

namespace quorvane {

// The four quantities Power reads, in the order it reads them.
enum class Input { Density, Head, Flow, Efficiency };

// What Power needs of the window: the current input texts, and the result box.
class CalculatorView {
  public:
    virtual ~CalculatorView() = default;
    virtual std::string InputText(Input input) = 0;
    virtual void SetPowerText(std::string_view text) = 0;
};

// P [kW] = rho * 9.806 * H * Q / 3600 / eta * 100 / 1000, rounded to 3 decimals and written to
// the result box. On any failure (a text that is no number, a non-finite stage, the view itself
// throwing) the result box is emptied and nothing is returned. Never throws.
std::optional<double> Power(CalculatorView& view, const NumberFormat& format) noexcept;

}  // namespace quorvane
