// Number texts as the user reads and writes them: text to double, rounding, double to text.
// Texts are UTF-8. The locale's separators come in as a NumberFormat; nothing here reads the
// process locale, so results never depend on setlocale().
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvane {

// The two separators of the user's locale, each one UTF-8 character (possibly multi-byte).
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";
};

class ConversionError : public std::runtime_error {
  public:
    enum class Kind { NotANumber, OutOfRange };

    explicit ConversionError(Kind kind)
        : std::runtime_error(kind == Kind::NotANumber ? "not a number" : "out of range"),
          kind_(kind) {}

    Kind kind() const noexcept { return kind_; }

  private:
    Kind kind_;
};

// Reads [blanks][+|-]digits[decimal digits][E[+|-]digits][blanks], correctly rounded.
// Grouping separators are accepted only in a well-formed integer part ("12,345", never "1,5").
// Throws ConversionError; never returns an infinity or NaN. A magnitude below the smallest
// double reads as zero of that sign.
double TextToDouble(std::string_view text, const NumberFormat& format);

// Nearest multiple of 10^-places (0 <= places <= 15), exact halves to even. Values too large to
// carry a fractional digit (|value| >= 2^52) and non-finite values come back unchanged.
double RoundDecimal(double value, int places);

// 15 significant digits, no grouping, no trailing zeros, "0" for either zero. Plain notation
// from 1E-4 up to and including 1E+15 (as rounded to 15 digits); beyond, a mantissa and a signed
// exponent ("1.5E+15", "2E-5"). What it writes, TextToDouble reads back.
std::string DoubleToText(double value, const NumberFormat& format);

}  // namespace quorvane
