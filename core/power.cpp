#include "power.h"

#include <cmath>

namespace quorvane {
namespace {

constexpr double kGravity = 9.806;          // m/s^2
constexpr double kSecondsPerHour = 3600.0;  // m^3/h -> m^3/s
constexpr double kPercent = 100.0;          // % -> fraction
constexpr double kWattsPerKilowatt = 1000.0;
constexpr int kDecimalPlaces = 3;

// A stage's value, or none where it overflowed, divided by zero or had no defined result.
std::optional<double> Finite(double stageValue) {
    if (!std::isfinite(stageValue)) return std::nullopt;
    return stageValue;
}

std::optional<double> Compute(CalculatorView& view, const NumberFormat& format) {
    // All four texts are read before any is converted.
    const std::string texts[] = {view.InputText(Input::Density), view.InputText(Input::Head),
                                 view.InputText(Input::Flow), view.InputText(Input::Efficiency)};
    double value[4] = {};
    for (int i = 0; i < 4; ++i) {
        const NumberRead read = ReadNumber(texts[i], format);
        if (read.error) return std::nullopt;
        value[i] = read.value;
    }
    const auto [density, head, flow, efficiency] = value;
    // One operation at a time, in this order: regrouping would change the last bits.
    const auto a = Finite(density * kGravity);
    const auto b = a ? Finite(head * *a) : std::nullopt;
    const auto c = b ? Finite(flow * *b / kSecondsPerHour) : std::nullopt;
    const auto d = c ? Finite(*c / efficiency * kPercent / kWattsPerKilowatt) : std::nullopt;
    if (!d) return std::nullopt;
    return RoundDecimal(*d, kDecimalPlaces);
}

}  // namespace

std::optional<double> Power(CalculatorView& view, const NumberFormat& format) noexcept {
#if defined(__cpp_exceptions)
    try {
#endif
        const std::optional<double> rounded = Compute(view, format);
        // The only sign of a failed computation is an empty result box.
        view.SetPowerText(rounded ? DoubleToText(*rounded, format) : "");
        return rounded;
#if defined(__cpp_exceptions)
    } catch (...) {
        // The view itself failed: the result box is emptied if it can be.
        try {
            view.SetPowerText("");
        } catch (...) {
        }
        return std::nullopt;
    }
#endif
}

}  // namespace quorvane
