#include "power.h"

#include <cmath>

namespace quorvane {
namespace {

constexpr double kGravity = 9.806;          // m/s^2
constexpr double kSecondsPerHour = 3600.0;  // m^3/h -> m^3/s
constexpr double kPercent = 100.0;          // % -> fraction
constexpr double kWattsPerKilowatt = 1000.0;
constexpr int kDecimalPlaces = 3;

double Checked(double stageValue, int stage) {
    if (!std::isfinite(stageValue)) throw ArithmeticError(stage);
    return stageValue;
}

}  // namespace

std::optional<double> Power(CalculatorView& view, const NumberFormat& format) noexcept {
    try {
        // All four texts are read before any is converted.
        const std::string density = view.InputText(Input::D);
        const std::string head = view.InputText(Input::H);
        const std::string flow = view.InputText(Input::Q);
        const std::string efficiency = view.InputText(Input::E);

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
