// Number texts as the user reads and writes them: text to double, rounding, double to text.
// Texts are UTF-8. The locale's separators come in as a NumberFormat; nothing here reads the
// process locale, so results never depend on setlocale().
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvane {

// How many digits a grouped integer part has in each group, counted from the right.
struct GroupSizes {
    int last = 3;        // the group just before the decimal separator
    int middle = 3;      // each group between the leading one and the last
    int leadingMax = 3;  // the leading group has 1 to this many
};

// How the user's locale writes numbers. Texts are UTF-8; each separator is one character,
// a sign may carry bidirectional marks around it.
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";
    GroupSizes groupSizes = {};  // Indian lakhs: {3, 2, 2}
    char32_t zero = U'0';        // written digits are this and the nine code points after it
    std::string minus = "-";
    std::string plus = "+";
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

// Reads [blanks][sign]digits[decimal digits][E[sign]digits][blanks], correctly rounded.
// Full-width forms (U+FF10-U+FF19, U+FF0B-U+FF0E, U+FF25, U+FF45) read as their ASCII
// counterparts first. Digits are Unicode decimal digits of any script; a sign is "+", "-" or
// the locale's own, with or without its bidirectional marks; blanks are Unicode spaces, tab, CR
// and LF. Grouping separators are accepted only in a well-formed integer part: groups of the
// locale's sizes or of three ("12,345", never "1,5"). A keyboard's stand-ins for a separator
// read as that separator (a plain space for a no-break space, "'" for U+2019, "." and "," for
// the Arabic separators) unless they could be the other separator. Never gives an infinity or
// NaN; a magnitude below the smallest double reads as zero of that sign.
struct NumberRead {
    double value = 0.0;
    std::optional<ConversionError::Kind> error;  // why the text is no number, if it is none
};
NumberRead ReadNumber(std::string_view text, const NumberFormat& format);

#if defined(__cpp_exceptions)
// The same, throwing ConversionError for a text that is no number.
double TextToDouble(std::string_view text, const NumberFormat& format);
#endif

// Nearest multiple of 10^-places (0 <= places <= 15), exact halves to even. Values too large to
// carry a fractional digit (|value| >= 2^52) and non-finite values come back unchanged.
double RoundDecimal(double value, int places);

// 15 significant digits in the locale's digits and decimal separator, with a leading "-" for a
// negative value; no grouping, no trailing zeros, "0" for either zero. Plain notation
// from 1E-4 up to and including 1E+15 (as rounded to 15 digits); beyond, a mantissa and a signed
// exponent ("1.5E+15", "2E-5"). What it writes, TextToDouble reads back.
std::string DoubleToText(double value, const NumberFormat& format);

}  // namespace quorvane
