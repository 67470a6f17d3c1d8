#include "number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace quorvane {
namespace {

using Kind = ConversionError::Kind;

// The no-break spaces that locales group digits with, and that may surround a pasted number.
constexpr std::array<std::string_view, 2> kNoBreakSpaces = {"\u00A0", "\u202F"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of a no-break space at the start of s, or 0.
std::size_t NoBreakSpaceAt(std::string_view s) {
    for (std::string_view b : kNoBreakSpaces)
        if (s.starts_with(b)) return b.size();
    return 0;
}

// Length of the blank at the start of s, or 0.
std::size_t LeadingBlank(std::string_view s) {
    if (!s.empty() && (s.front() == ' ' || s.front() == '\t')) return 1;
    return NoBreakSpaceAt(s);
}

// Length of the blank at the end of s, or 0.
std::size_t TrailingBlank(std::string_view s) {
    if (!s.empty() && (s.back() == ' ' || s.back() == '\t')) return 1;
    for (std::string_view b : kNoBreakSpaces)
        if (s.ends_with(b)) return b.size();
    return 0;
}

// Length of a grouping separator at the start of s, or 0. Where the locale groups with a
// no-break space, people type a plain space (or the other no-break space) instead.
std::size_t GroupSeparatorAt(std::string_view s, const NumberFormat& format) {
    if (!format.group.empty() && s.starts_with(format.group)) return format.group.size();
    if (NoBreakSpaceAt(format.group) == format.group.size() && !format.group.empty())
        return s.starts_with(' ') ? 1 : NoBreakSpaceAt(s);
    return 0;
}

// Exponents beyond this are out of any double's reach; counting stops there.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

}  // namespace

double TextToDouble(std::string_view text, const NumberFormat& format) {
    while (std::size_t n = LeadingBlank(text)) text.remove_prefix(n);
    while (std::size_t n = TrailingBlank(text)) text.remove_suffix(n);

    // The normalised copy is what std::from_chars reads: [-]digits[.digits][e[-]digits].
    std::string plain;
    plain.reserve(text.size() + 1);
    std::size_t i = 0;
    const auto rest = [&] { return text.substr(i); };

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        if (negative) plain += '-';
        ++i;
    }

    // Integer part, with optional grouping: first group 1-3 digits not led by 0, then groups of
    // exactly three. A stray separator ("1,5") would silently scale the value, so it is refused.
    std::size_t intDigits = 0;
    std::size_t groupDigits = 0;
    std::int64_t significantIntDigits = 0;
    bool grouped = false;
    while (i < text.size()) {
        if (IsDigit(text[i])) {
            if (significantIntDigits > 0 || text[i] != '0') ++significantIntDigits;
            plain += text[i];
            ++intDigits;
            ++groupDigits;
            ++i;
            continue;
        }
        if (!format.decimal.empty() && rest().starts_with(format.decimal)) break;
        const std::size_t sep = GroupSeparatorAt(rest(), format);
        if (sep == 0) break;
        const bool firstGroupOk = grouped || (groupDigits >= 1 && groupDigits <= 3 &&
                                              plain[plain.size() - groupDigits] != '0');
        if (!firstGroupOk || (grouped && groupDigits != 3)) throw ConversionError(Kind::NotANumber);
        grouped = true;
        groupDigits = 0;
        i += sep;
    }
    if (grouped && groupDigits != 3) throw ConversionError(Kind::NotANumber);

    std::size_t fracDigits = 0;
    std::int64_t fracLeadingZeros = 0;
    bool fracNonZeroSeen = false;
    if (!format.decimal.empty() && rest().starts_with(format.decimal)) {
        i += format.decimal.size();
        plain += '.';
        while (i < text.size() && IsDigit(text[i])) {
            if (!fracNonZeroSeen && text[i] == '0') ++fracLeadingZeros;
            fracNonZeroSeen = fracNonZeroSeen || text[i] != '0';
            plain += text[i];
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0) throw ConversionError(Kind::NotANumber);

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            plain += text[i];
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
            plain += text[i];
            ++expDigits;
            ++i;
        }
        if (expDigits == 0) throw ConversionError(Kind::NotANumber);
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) throw ConversionError(Kind::NotANumber);

    double value = 0.0;
    const char* first = plain.data();
    const char* last = first + plain.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports overflow and total underflow alike. The decimal magnitude of the
        // leading digit tells which: overflow needs it above 10^308, underflow below 10^-323.
        const std::int64_t magnitude =
            (significantIntDigits > 0 ? significantIntDigits : -fracLeadingZeros) + exponent;
        if (magnitude > 0) throw ConversionError(Kind::OutOfRange);
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || end != last || !std::isfinite(value))
        throw ConversionError(Kind::NotANumber);
    return value;
}

double RoundDecimal(double value, int places) {
    static constexpr std::array<double, 16> kPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (places < 0 || places >= static_cast<int>(kPowersOfTen.size()))
        throw std::invalid_argument("RoundDecimal: places out of range");
    if (!std::isfinite(value) || std::fabs(value) >= 0x1p52) return value;

    const double scale = kPowersOfTen[static_cast<std::size_t>(places)];
    const double scaled = value * scale;
    // Up here the product is already a whole number and doubles are no finer than the grid.
    if (std::fabs(scaled) >= 0x1p52) return scaled / scale;

    double whole = std::floor(scaled);
    // The exact product less `whole`, with at most one rounding: decides halves on the true
    // value, not on the rounded product.
    const double above = std::fma(value, scale, -whole);
    if (above > 0.5 || (above == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return std::copysign(whole / scale, value);  // -0.0004 rounds to -0
}

std::string DoubleToText(double value, const NumberFormat& format) {
    if (value == 0.0) return "0";  // negative zero too
    // %.15g in the C locale: 15 significant digits, trailing zeros dropped, exponent form
    // below 1e-4 and from 1e15 on.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    const std::string_view digits(buffer.data(),
                                  static_cast<std::size_t>(result.ptr - buffer.data()));

    std::string text;
    text.reserve(digits.size() + format.decimal.size());
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c == '.') {
            text += format.decimal;
        } else if (c == 'e') {
            text += 'E';
            text += digits[++i];                                        // the exponent's sign
            while (i + 2 < digits.size() && digits[i + 1] == '0') ++i;  // "e-05" -> "E-5"
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace quorvane
