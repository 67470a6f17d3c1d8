#include "power.h"

#include <cmath>
#include <stdexcept>

namespace quorvane {
namespace {

constexpr double kGravity = 9.806;          // m/s^2
constexpr double kSecondsPerHour = 3600.0;  // m^3/h -> m^3/s
constexpr double kPercent = 100.0;          // % -> fraction
constexpr double kWattsPerKilowatt = 1000.0;
constexpr int kDecimalPlaces = 3;

// A stage of the computation overflowed, divided by zero or had no defined result.
class ArithmeticError : public std::runtime_error {
  public:
    explicit ArithmeticError(int stage)
        : std::runtime_error("non-finite value at stage " + std::to_string(stage)) {}
};

double Checked(double stageValue, int stage) {
    if (!std::isfinite(stageValue)) throw ArithmeticError(stage);
    return stageValue;
}

}  // namespace

std::optional<double> Power(CalculatorView& view, const NumberFormat& format) noexcept {
    try {
        // All four texts are read before any is converted.
        const std::string density = view.InputText(Input::Density);
        const std::string head = view.InputText(Input::Head);
        const std::string flow = view.InputText(Input::Flow);
        const std::string efficiency = view.InputText(Input::Efficiency);

        // One operation at a time, in this order: regrouping would change the last bits.
        const double a = Checked(TextToDouble(density, format) * kGravity, 1);
        const double b = Checked(TextToDouble(head, format) * a, 2);
        const double c = Checked(TextToDouble(flow, format) * b / kSecondsPerHour, 3);
        const double d =
            Checked(c / TextToDouble(efficiency, format) * kPercent / kWattsPerKilowatt, 4);

        const double rounded = RoundDecimal(d, kDecimalPlaces);
        view.SetPowerText(DoubleToText(rounded, format));
        return rounded;
    } catch (...) {
        // The only sign of a failed computation is an empty result box.
        try {
            view.SetPowerText("");
        } catch (...) {
        }
        return std::nullopt;
    }
}

}  // namespace quorvane
