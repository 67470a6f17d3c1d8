// libFuzzer target: any bytes, in any of four locales, give a finite number or ConversionError.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quorvane::NumberFormat kFormats[] = {
        {".", ","}, {",", "."}, {",", "\u202F"}, {".", "\u2019"}};
    if (size == 0) return 0;
    const auto& format = kFormats[data[0] % 4];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const double value = quorvane::TextToDouble(text, format);
        if (!std::isfinite(value)) std::abort();
        // What we write, we must read back.
        const double again = quorvane::TextToDouble(quorvane::DoubleToText(value, format), format);
        if (!std::isfinite(again)) std::abort();
    } catch (const quorvane::ConversionError&) {
    }
    return 0;
}
