#include "number_text.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <system_error>

#include "decimal_digits.h"
#include "rounded_digits.h"

namespace quorvane {
namespace {

using Kind = ConversionError::Kind;

// Exponents beyond this are out of any double's reach; counting stops there.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

// What may surround a number: every Unicode space separator, tab, and the line breaks a pasted
// spreadsheet cell brings.
constexpr std::array<std::string_view, 21> kBlanks = {
    " ",      "\t",     "\r",     "\n",     "\u00A0", "\u1680", "\u2000",
    "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006", "\u2007",
    "\u2008", "\u2009", "\u200A", "\u202F", "\u205F", "\u3000", "\u0085"};

// The marks some locales put around a sign to keep it left of the digits in right-to-left text.
constexpr std::array<std::string_view, 3> kBidiMarks = {"\u200E", "\u200F", "\u061C"};

// What keyboards type for a separator they lack: a plain space for a no-break one, "'" for the
// typographic apostrophe, "." and "," for the Arabic separators. Only this way round: a locale
// whose separator is "." does not read the Arabic one.
struct StandIns {
    std::string_view separator;
    std::array<std::string_view, 2> standIns;
};
constexpr std::array<StandIns, 6> kStandIns = {{{"\u00A0", {" ", "\u202F"}},
                                                {"\u202F", {" ", "\u00A0"}},
                                                {" ", {"\u00A0", "\u202F"}},
                                                {"\u2019", {"'"}},
                                                {"\u066B", {"."}},
                                                {"\u066C", {","}}}};

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

std::span<const std::string_view> StandInsFor(std::string_view separator) {
    if (separator.empty() || (separator[0] != ' ' && IsAscii(separator[0])))
        return {};  // the usual case, quickly: an ASCII separator other than space has none
    for (const StandIns& entry : kStandIns)
        if (entry.separator == separator) return entry.standIns;
    return {};
}

bool IsFormOf(std::string_view text, std::string_view separator) {
    const auto standIns = StandInsFor(separator);
    return text == separator || std::ranges::find(standIns, text) != standIns.end();
}

// Length of `separator`, or of a stand-in for it that cannot be `other`, at the start of s.
std::size_t SeparatorAt(std::string_view s, std::string_view separator, std::string_view other) {
    if (s.empty() || separator.empty()) return 0;
    if (s.starts_with(separator)) return separator.size();
    for (std::string_view standIn : StandInsFor(separator))
        if (!standIn.empty() && s.starts_with(standIn) && !IsFormOf(standIn, other))
            return standIn.size();
    return 0;
}

template <std::size_t N>
std::size_t StartsWithAny(std::string_view s, const std::array<std::string_view, N>& set) {
    for (std::string_view item : set)
        if (s.starts_with(item)) return item.size();
    return 0;
}

template <std::size_t N>
std::size_t EndsWithAny(std::string_view s, const std::array<std::string_view, N>& set) {
    for (std::string_view item : set)
        if (s.ends_with(item)) return item.size();
    return 0;
}

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Length of the blank at the start of s, or 0.
std::size_t LeadingBlank(std::string_view s) {
    if (s.empty() || IsAsciiBlank(s.front())) return s.empty() ? 0 : 1;
    return IsAscii(s.front()) ? 0 : StartsWithAny(s, kBlanks);
}

// Length of the blank at the end of s, or 0.
std::size_t TrailingBlank(std::string_view s) {
    if (s.empty() || IsAsciiBlank(s.back())) return s.empty() ? 0 : 1;
    return IsAscii(s.back()) ? 0 : EndsWithAny(s, kBlanks);
}

// A sign without the bidirectional marks around it: U+061C "-" gives "-".
std::string_view WithoutMarks(std::string_view sign) {
    while (std::size_t n = StartsWithAny(sign, kBidiMarks)) sign.remove_prefix(n);
    while (std::size_t n = EndsWithAny(sign, kBidiMarks)) sign.remove_suffix(n);
    return sign;
}

// The code point at the start of s and its length in bytes; length 0 for broken UTF-8.
struct CodePoint {
    char32_t value = 0;
    std::size_t length = 0;
};

// Only the shortest form of a Unicode scalar value decodes: an overlong form, a surrogate or a
// value beyond U+10FFFF could otherwise smuggle a digit past every other check.
CodePoint DecodeUtf8(std::string_view s) {
    const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s.empty()) return {};
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (s.size() < length || lead < 0xC0 || lead >= 0xF8) return {};
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {};
        value = (value << 6) | (byte(i) & 0x3F);
    }
    static constexpr std::array<char32_t, 5> kShortest = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kShortest[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return {};
    return {value, length};
}

// The value of a decimal digit of any script, or -1: a digit has one value whatever its script.
int DigitValue(char32_t c) {
    const auto after = std::ranges::upper_bound(kDigitZeros, c);
    if (after == kDigitZeros.begin() || c - *(after - 1) > 9) return -1;
    return int(c - *(after - 1));
}

// The ASCII counterpart of a full-width form that Chinese and Japanese input methods type
// (digits, "+", ",", "-", ".", "E", "e"), or 0.
char HalfWidth(char32_t c) {
    if (c >= U'\uFF10' && c <= U'\uFF19') return char('0' + (c - U'\uFF10'));
    switch (c) {
        case U'\uFF0B':
            return '+';
        case U'\uFF0C':
            return ',';
        case U'\uFF0D':
            return '-';
        case U'\uFF0E':
            return '.';
        case U'\uFF25':
            return 'E';
        case U'\uFF45':
            return 'e';
        default:
            return 0;
    }
}

// The text with its full-width forms in ASCII, kept in `halfWidth`. Out of line: the usual text
// has none, and its path stays short.
[[gnu::noinline]] std::string_view ToHalfWidth(std::string_view text, std::string& halfWidth) {
    halfWidth.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint c = DecodeUtf8(text.substr(i));
        const char ascii = c.length == 3 ? HalfWidth(c.value) : 0;
        halfWidth += ascii ? ascii : text[i];
        i += ascii ? 3 : 1;
    }
    return halfWidth;
}

std::string EncodeUtf8(char32_t c) {
    if (c < 0x80) return std::string(1, char(c));
    static constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
    std::string bytes;
    const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    bytes += char(kLeads[continuations] | (c >> (6 * continuations)));
    for (int i = continuations - 1; i >= 0; --i) bytes += char(0x80 | ((c >> (6 * i)) & 0x3F));
    return bytes;
}

// The digit runs of a grouped integer part: "12,34,567" has a leading run of 2, middle runs
// of 2 and a last run of 3.
struct Runs {
    std::size_t leading = 0;
    std::size_t last = 0;
    std::size_t middle = 0;  // the length every middle run has, while middlesAlike
    bool middlesAlike = true;
    int count = 1;

    void Add(std::size_t run) {  // the run after another separator
        if (count == 2) middle = last;
        if (count > 2) middlesAlike = middlesAlike && last == middle;
        last = run;
        ++count;
    }
    bool Fit(const GroupSizes& sizes) const {
        return leading >= 1 && leading <= std::size_t(sizes.leadingMax) &&
               last == std::size_t(sizes.last) &&
               (count == 2 || (middlesAlike && middle == std::size_t(sizes.middle)));
    }
};

// Reads a number text in named steps, left to right, into a plain copy that fast_float reads
// (the algorithm of libstdc++'s own from_chars, in every build, the browser's included):
// [-]digits[.digits][e[-]digits]. Every step shares one digit loop, Digits(). A step that finds
// the text malformed marks it and the scan goes on harmlessly to the end.
class Scanner {
  public:
    Scanner(std::string_view text, const NumberFormat& format) : text_(text), format_(format) {
        plain_.reserve(text.size() + 1);
    }

    NumberRead Read() {
        TrimBlanks();
        negative_ = Sign();
        if (negative_) plain_ += '-';
        const std::size_t integerDigits = IntegerPart();
        const std::size_t fractionDigits = Fraction();
        if (integerDigits + fractionDigits == 0) return {.error = Kind::NotANumber};
        Exponent();
        if (malformed_ || !rest().empty()) return {.error = Kind::NotANumber};
        return Convert();
    }

  private:
    std::string_view rest() const { return text_.substr(pos_); }

    void TrimBlanks() {
        while (std::size_t n = LeadingBlank(text_)) text_.remove_prefix(n);
        while (std::size_t n = TrailingBlank(text_)) text_.remove_suffix(n);
    }

    bool NonAsciiHere() const { return pos_ < text_.size() && !IsAscii(text_[pos_]); }

    void SkipMarks() {
        while (NonAsciiHere())
            if (std::size_t n = StartsWithAny(rest(), kBidiMarks))
                pos_ += n;
            else
                break;
    }

    // Length of the sign `ascii`, or of the locale's own (without its marks), here; or 0.
    std::size_t SignAt(std::string_view ascii, std::string_view local) const {
        if (rest().starts_with(ascii)) return ascii.size();
        local = WithoutMarks(local);
        return !local.empty() && rest().starts_with(local) ? local.size() : 0;
    }

    // An optional sign, with or without bidirectional marks around it; true for a minus. The
    // minus sign U+2212 reads in every locale: it cannot mean anything else.
    bool Sign() {
        SkipMarks();
        bool negative = false;
        if (rest().starts_with('-') || rest().starts_with('+')) {
            negative = text_[pos_++] == '-';
        } else if (!NonAsciiHere()) {
            return false;  // the usual case: a digit
        } else if (std::size_t n = std::max(SignAt("-", format_.minus), SignAt("\u2212", ""))) {
            negative = true;
            pos_ += n;
        } else if (std::size_t m = SignAt("+", format_.plus)) {
            pos_ += m;
        }
        SkipMarks();
        return negative;
    }

    // The value of a non-ASCII decimal digit here, consumed; -1 if there is none.
    int TakeUnicodeDigit() {
        if (IsAscii(text_[pos_])) return -1;
        const CodePoint c = DecodeUtf8(rest());
        const int digit = c.length == 0 ? -1 : DigitValue(c.value);
        if (digit < 0) return -1;
        FromRun(c.value - char32_t(digit));
        pos_ += c.length;
        return digit;
    }

    // Every digit of one number, integer part, fraction and exponent, comes from one run of
    // ten: "1\u06605" would read as 105 where most eyes see 1.5, and "\u09EA0" (a Bengali four)
    // as 40 where they see 80. Or from ASCII and the locale's own digits together: a keyboard's
    // number row types ASCII where the locale writes its own, so "\u0663\u06605" is 305 in
    // Egyptian Arabic.
    void FromRun(char32_t zero) {
        if (runZero_ == 0)
            runZero_ = zero;
        else if (runZero_ != zero && !(Typed(runZero_) && Typed(zero)))
            malformed_ = true;
    }
    bool Typed(char32_t zero) const { return zero == U'0' || zero == format_.zero; }

    // The one digit loop: copies a run of digits, ASCII or of any script, into the plain text
    // as ASCII; returns how many.
    std::size_t Digits() {
        const std::size_t start = plain_.size();
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c >= '0' && c <= '9') {
                FromRun(U'0');
                plain_ += c;
                ++pos_;
            } else if (const int digit = TakeUnicodeDigit(); digit >= 0) {
                plain_ += char('0' + digit);
            } else {
                break;
            }
        }
        return plain_.size() - start;
    }

    std::size_t DecimalAt() const { return SeparatorAt(rest(), format_.decimal, format_.group); }
    std::size_t GroupAt() const { return SeparatorAt(rest(), format_.group, format_.decimal); }

    // Digits, grouped or not. Groups are well formed or refused: the locale's sizes, or threes,
    // and no leading 0. A stray separator ("1,5") would silently scale the value.
    std::size_t IntegerPart() {
        const std::size_t start = plain_.size();
        Runs runs;
        runs.leading = runs.last = Digits();
        while (DecimalAt() == 0) {
            const std::size_t separator = GroupAt();
            if (separator == 0) break;
            pos_ += separator;
            runs.Add(Digits());
        }
        const std::string_view digits = std::string_view(plain_).substr(start);
        const bool wellGrouped =
            runs.count == 1 || (!digits.empty() && digits.front() != '0' &&
                                (runs.Fit(format_.groupSizes) || runs.Fit(GroupSizes{})));
        if (!wellGrouped) malformed_ = true;
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
        if (Digits() == 0) malformed_ = true;
        for (const char digit : std::string_view(plain_).substr(start))
            if (exponent_ < kExponentCap) exponent_ = exponent_ * 10 + (digit - '0');
        if (negative) exponent_ = -exponent_;
    }

    NumberRead Convert() const {
        double value = 0.0;
        const char* first = plain_.data();
        const char* last = first + plain_.size();
        const auto [end, ec] =
            fast_float::from_chars(first, last, value, fast_float::chars_format::general);
        if ((ec != std::errc() && ec != std::errc::result_out_of_range) || end != last)
            return {.error = Kind::NotANumber};
        if (ec == std::errc::result_out_of_range || !std::isfinite(value)) {
            // Overflow and total underflow, reported or given as infinity and zero. The decimal
            // magnitude of the leading digit tells which: overflow needs it above 10^308,
            // underflow below 10^-323.
            const std::int64_t magnitude =
                (significantIntegerDigits_ > 0 ? significantIntegerDigits_
                                               : -fractionLeadingZeros_) +
                exponent_;
            if (magnitude > 0) return {.error = Kind::OutOfRange};
            return {negative_ ? -0.0 : 0.0, std::nullopt};
        }
        return {value, std::nullopt};
    }

    std::string_view text_;
    const NumberFormat& format_;
    std::size_t pos_ = 0;
    std::string plain_;
    bool negative_ = false;
    char32_t runZero_ = 0;  // the zero of the digits read so far; 0 before the first
    std::int64_t significantIntegerDigits_ = 0;
    std::int64_t fractionLeadingZeros_ = 0;
    std::int64_t exponent_ = 0;
    bool malformed_ = false;  // a step found the text no number
};

// The largest value of 15 significant digits that is still a double. Anything above it would
// round up to a text beyond the largest double, which could not be read back.
constexpr double kLargestFifteenDigits = 1.79769313486231e308;

// The digits of |value| rounded to 15 significant digits, without trailing zeros, and the
// decimal exponent of the first: 1234.5 gives {"12345", 3}.
RoundedDigits FifteenDigits(double value) {
    const double magnitude = std::fmin(std::fabs(value), kLargestFifteenDigits);
#if defined(__wasi__)
    // The browser's module has neither to_chars' tables nor printf, whose long doubles run in
    // software there: the digits are worked out with integers, as exact.
    RoundedDigits decimal = RoundToDigits(magnitude, 15);
#else
    std::array<char, 32> buffer{};  // "d.dddddddddddddde+ddd"
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                   std::chars_format::scientific, 14)
                         .ptr;
    RoundedDigits decimal{.count = 15};
    decimal.storage[0] = buffer[0];
    std::copy(buffer.data() + 2, buffer.data() + 16, decimal.storage.data() + 1);
    std::from_chars(buffer.data() + 17 + (buffer[17] == '+'), end, decimal.exponent);
#endif
    while (decimal.count > 1 && decimal.storage[decimal.count - 1] == '0') --decimal.count;
    return decimal;
}

// The digits with the exponent written out, with a full stop: shifted into place, zeros
// filled in.
void AppendPlain(std::string& text, const RoundedDigits& d) {
    const std::string_view digits = d.digits();
    const int count = int(digits.size());
    if (d.exponent < 0) {
        text.append("0.").append(std::size_t(-d.exponent - 1), '0').append(digits);
    } else if (d.exponent + 1 >= count) {
        text.append(digits).append(std::size_t(d.exponent + 1 - count), '0');
    } else {
        text.append(digits.substr(0, std::size_t(d.exponent + 1)))
            .append(1, '.')
            .append(digits.substr(std::size_t(d.exponent + 1)));
    }
}

// "d.ddd" then E, the exponent's sign and its digits without padding: "1.5E+15", "2E-5".
void AppendWithExponent(std::string& text, const RoundedDigits& d) {
    const std::string_view digits = d.digits();
    text.append(digits.substr(0, 1));
    if (digits.size() > 1) text.append(1, '.').append(digits.substr(1));
    text.append(d.exponent < 0 ? "E-" : "E+").append(std::to_string(std::abs(d.exponent)));
}

// An ASCII number text in the locale's digits and decimal separator.
std::string Localised(std::string ascii, const NumberFormat& format) {
    if (format.zero == U'0' && format.decimal == ".") return ascii;
    std::array<std::string, 10> digits;
    for (char32_t d = 0; d < 10; ++d) digits[d] = EncodeUtf8(format.zero + d);
    std::string text;
    text.reserve(ascii.size() * 4);
    for (const char c : ascii) {
        if (c >= '0' && c <= '9')
            text += digits[std::size_t(c - '0')];
        else if (c == '.')
            text += format.decimal;
        else
            text += c;
    }
    return text;
}

}  // namespace

NumberRead ReadNumber(std::string_view text, const NumberFormat& format) {
    // Full-width forms read as their ASCII counterparts, before the locale's rules. Each of them
    // starts with the byte 0xEF.
    std::string halfWidth;
    if (std::ranges::find(text, '\xEF') != text.end()) text = ToHalfWidth(text, halfWidth);
    return Scanner(text, format).Read();
}

#if defined(__cpp_exceptions)
double TextToDouble(std::string_view text, const NumberFormat& format) {
    const NumberRead read = ReadNumber(text, format);
    if (read.error) throw ConversionError(*read.error);
    return read.value;
}
#endif

double RoundDecimal(double value, int places) {
    static constexpr std::array<double, 16> kPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (places < 0 || places >= static_cast<int>(kPowersOfTen.size())) {
#if defined(__cpp_exceptions)
        throw std::invalid_argument("RoundDecimal: places out of range");
#else
        std::abort();  // a caller's mistake, never a user's input
#endif
    }
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
    if (value == 0.0) return Localised("0", format);  // negative zero too
    const RoundedDigits decimal = FifteenDigits(value);
    // Plain up to and including 10^15; the notation follows the rounded value, so that
    // writing, reading and writing again gives the same text.
    const bool plain =
        decimal.exponent >= -4 &&
        (decimal.exponent < 15 || (decimal.exponent == 15 && decimal.digits() == "1"));
    std::string text;
    text.reserve(24);
    if (value < 0) text += '-';
    if (plain)
        AppendPlain(text, decimal);
    else
        AppendWithExponent(text, decimal);
    return Localised(std::move(text), format);
}

}  // namespace quorvane
