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

// Exponents beyond this are out of any double's reach; counting stops there.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

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

// Reads a number text in named steps, left to right, into a plain copy that std::from_chars
// reads: [-]digits[.digits][e[-]digits]. Every step shares one digit loop, Digits().
class Scanner {
  public:
    Scanner(std::string_view text, const NumberFormat& format) : text_(text), format_(format) {
        plain_.reserve(text.size() + 1);
    }

    double Read() {
        TrimBlanks();
        negative_ = Sign();
        if (negative_) plain_ += '-';
        const std::size_t integerDigits = IntegerPart();
        const std::size_t fractionDigits = Fraction();
        if (integerDigits + fractionDigits == 0) throw ConversionError(Kind::NotANumber);
        Exponent();
        if (!rest().empty()) throw ConversionError(Kind::NotANumber);
        return Convert();
    }

  private:
    std::string_view rest() const { return text_.substr(pos_); }

    void TrimBlanks() {
        while (std::size_t n = LeadingBlank(text_)) text_.remove_prefix(n);
        while (std::size_t n = TrailingBlank(text_)) text_.remove_suffix(n);
    }

    // An optional + or -; true for a minus.
    bool Sign() {
        if (rest().starts_with('+') || rest().starts_with('-')) return text_[pos_++] == '-';
        return false;
    }

    // The one digit loop: copies a run of digits into the plain text; returns how many.
    std::size_t Digits() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) plain_ += text_[pos_++];
        return pos_ - start;
    }

    // Length of a decimal separator at the current position, or 0.
    std::size_t DecimalAt() const {
        return !format_.decimal.empty() && rest().starts_with(format_.decimal)
                   ? format_.decimal.size()
                   : 0;
    }

    // Length of a grouping separator at the current position, or 0. Where the locale groups
    // with a no-break space, people type a plain space (or the other no-break space) instead.
    std::size_t GroupAt() const {
        const std::string& group = format_.group;
        if (group.empty()) return 0;
        if (rest().starts_with(group)) return group.size();
        if (NoBreakSpaceAt(group) == group.size())
            return rest().starts_with(' ') ? 1 : NoBreakSpaceAt(rest());
        return 0;
    }

    // Digits, grouped or not. Groups are well formed or refused: a first group of 1-3 digits
    // not led by 0, then groups of exactly three. A stray separator ("1,5") would silently
    // scale the value.
    std::size_t IntegerPart() {
        const std::size_t start = plain_.size();
        std::size_t run = Digits();
        const bool firstGroupOk = run >= 1 && run <= 3 && plain_[start] != '0';
        bool grouped = false;
        while (DecimalAt() == 0) {
            const std::size_t separator = GroupAt();
            if (separator == 0) break;
            if (grouped ? run != 3 : !firstGroupOk) throw ConversionError(Kind::NotANumber);
            grouped = true;
            pos_ += separator;
            run = Digits();
        }
        if (grouped && run != 3) throw ConversionError(Kind::NotANumber);
        const std::string_view digits = std::string_view(plain_).substr(start);
        const std::size_t leadingZeros = std::min(digits.find_first_not_of('0'), digits.size());
        significantIntegerDigits_ = std::int64_t(digits.size() - leadingZeros);
        return digits.size();
    }

    std::size_t Fraction() {
        const std::size_t separator = DecimalAt();
        if (separator == 0) return 0;
        pos_ += separator;
        plain_ += '.';
        const std::size_t start = plain_.size();
        const std::size_t count = Digits();
        const std::string_view digits = std::string_view(plain_).substr(start);
        fractionLeadingZeros_ = std::int64_t(std::min(digits.find_first_not_of('0'), count));
        return count;
    }

    // E or e, an optional sign, and at least one digit.
    void Exponent() {
        if (!rest().starts_with('e') && !rest().starts_with('E')) return;
        ++pos_;
        plain_ += 'e';
        const bool negative = Sign();
        if (negative) plain_ += '-';
        const std::size_t start = plain_.size();
        if (Digits() == 0) throw ConversionError(Kind::NotANumber);
        for (const char digit : std::string_view(plain_).substr(start))
            if (exponent_ < kExponentCap) exponent_ = exponent_ * 10 + (digit - '0');
        if (negative) exponent_ = -exponent_;
    }

    double Convert() const {
        double value = 0.0;
        const char* first = plain_.data();
        const char* last = first + plain_.size();
        const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
        if (ec == std::errc::result_out_of_range) {
            // from_chars reports overflow and total underflow alike. The decimal magnitude of
            // the leading digit tells which: overflow needs it above 10^308, underflow below
            // 10^-323.
            const std::int64_t magnitude =
                (significantIntegerDigits_ > 0 ? significantIntegerDigits_
                                               : -fractionLeadingZeros_) +
                exponent_;
            if (magnitude > 0) throw ConversionError(Kind::OutOfRange);
            return negative_ ? -0.0 : 0.0;
        }
        if (ec != std::errc() || end != last || !std::isfinite(value))
            throw ConversionError(Kind::NotANumber);
        return value;
    }

    std::string_view text_;
    const NumberFormat& format_;
    std::size_t pos_ = 0;
    std::string plain_;
    bool negative_ = false;
    std::int64_t significantIntegerDigits_ = 0;
    std::int64_t fractionLeadingZeros_ = 0;
    std::int64_t exponent_ = 0;
};

// The digits of |value| rounded to 15 significant digits, without trailing zeros, and the
// decimal exponent of the first: 1234.5 gives {"12345", 3}.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The largest value of 15 significant digits that is still a double. Anything above it would
// round up to a text beyond the largest double, which could not be read back.
constexpr double kLargestFifteenDigits = 1.79769313486231e308;

Decimal FifteenDigits(double value) {
    const double magnitude = std::fmin(std::fabs(value), kLargestFifteenDigits);
    std::array<char, 32> buffer{};  // "d.dddddddddddddde+ddd"
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer.data(), std::size_t(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    Decimal decimal;
    decimal.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    decimal.exponent);
    return decimal;
}

// "ddd" with exponent e written without one: digits shifted into place, zeros filled in.
std::string Plain(const Decimal& d, const NumberFormat& format) {
    const int count = int(d.digits.size());
    if (d.exponent < 0)
        return "0" + format.decimal + std::string(std::size_t(-d.exponent - 1), '0') + d.digits;
    if (d.exponent + 1 >= count)
        return d.digits + std::string(std::size_t(d.exponent + 1 - count), '0');
    return d.digits.substr(0, std::size_t(d.exponent + 1)) + format.decimal +
           d.digits.substr(std::size_t(d.exponent + 1));
}

// "d.ddd" then E, the exponent's sign and its digits without padding: "1.5E+15", "2E-5".
std::string WithExponent(const Decimal& d, const NumberFormat& format) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) text += format.decimal + d.digits.substr(1);
    return text + (d.exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(d.exponent));
}

}  // namespace

double TextToDouble(std::string_view text, const NumberFormat& format) {
    return Scanner(text, format).Read();
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
    const Decimal decimal = FifteenDigits(value);
    // Plain up to and including 10^15; the notation follows the rounded value, so that
    // writing, reading and writing again gives the same text.
    const bool plain = decimal.exponent >= -4 &&
                       (decimal.exponent < 15 || (decimal.exponent == 15 && decimal.digits == "1"));
    const std::string text = plain ? Plain(decimal, format) : WithExponent(decimal, format);
    return value < 0 ? "-" + text : text;
}

}  // namespace quorvane
