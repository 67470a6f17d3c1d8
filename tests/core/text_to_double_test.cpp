#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "formats.h"

namespace quorvane {
namespace {

using Kind = ConversionError::Kind;
using test::kAdlam;
using test::kArabic;
using test::kEnglish;
using test::kFrench;
using test::kGerman;
using test::kIndian;
using test::kPersian;
using test::kPolish;
using test::kSwedish;
using test::kSwiss;

struct Row {
    const NumberFormat* format;
    std::string text;
    std::optional<double> value;    // expected number, or
    Kind error = Kind::NotANumber;  // the expected failure
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

std::optional<Kind> ErrorOf(const Row& row) {
    return ReadNumber(row.text, *row.format).error;
}

const NumberFormat kArabicDecimalDotGroups{"\u066B", "."};
const NumberFormat kSpaceGroups{",", " "};
const NumberFormat kJapanese{".", ","};

// Every blank the README names: the Unicode space separators, tab, CR, LF and U+0085.
const std::string kEveryBlank =
    " \t\r\n\u00A0\u1680\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008\u2009\u200A"
    "\u202F\u205F\u3000\u0085";

constexpr auto NaN = Kind::NotANumber;

// The value read, or NaN, which equals nothing, where the text was refused.
double Value(std::string_view text, const NumberFormat& format) {
    const NumberRead read = ReadNumber(text, format);
    return read.error ? std::numeric_limits<double>::quiet_NaN() : read.value;
}
constexpr auto Range = Kind::OutOfRange;

class TextToDoubleTable : public ::testing::TestWithParam<Row> {};

TEST_P(TextToDoubleTable, ReadsOrRefuses) {
    const Row& row = GetParam();
    if (row.value) {
        const NumberRead read = ReadNumber(row.text, *row.format);
        ASSERT_EQ(read.error, std::nullopt) << '"' << row.text << '"';
        const double got = read.value;
        EXPECT_EQ(got, *row.value) << '"' << row.text << '"';
        EXPECT_EQ(std::signbit(got), std::signbit(*row.value)) << '"' << row.text << '"';
    } else {
        EXPECT_EQ(ErrorOf(row), row.error) << '"' << row.text << '"';
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(English, TextToDoubleTable, ::testing::Values(
    Row{&kEnglish, "30", 30.0},
    Row{&kEnglish, "997.01", 997.01},
    Row{&kEnglish, "  60  ", 60.0},
    Row{&kEnglish, "\t60\t", 60.0},
    Row{&kEnglish, "-5", -5.0},
    Row{&kEnglish, "+5", 5.0},
    Row{&kEnglish, "-0", -0.0},
    Row{&kEnglish, ".5", 0.5},
    Row{&kEnglish, "5.", 5.0},
    Row{&kEnglish, "007", 7.0},
    Row{&kEnglish, "1E3", 1000.0},
    Row{&kEnglish, "1e-3", 0.001},
    Row{&kEnglish, "2.5E+2", 250.0},
    Row{&kEnglish, "1e0000000000000000000000000003", 1000.0},
    Row{&kEnglish, "0e999999999999999999999", 0.0},
    Row{&kEnglish, "1e10000000000000000000", std::nullopt, Range},  // no wrap-around
    Row{&kEnglish, "-1e-99999999999999999999", -0.0},
    Row{&kEnglish, "1,000.5", 1000.5},
    Row{&kEnglish, "12,345,678", 12345678.0},
    Row{&kEnglish, "-1,000", -1000.0},
    Row{&kEnglish, "1,000.", 1000.0},
    Row{&kEnglish, "1.7976931348623157e308", std::numeric_limits<double>::max()},
    Row{&kEnglish, "4.9e-324", std::numeric_limits<double>::denorm_min()},
    Row{&kEnglish, "1e-400", 0.0},  // below the smallest double: zero
    Row{&kEnglish, "-1e-400", -0.0},  // keeping its sign
    Row{&kEnglish, "0.1", 0.1},
    Row{&kEnglish, "", std::nullopt, NaN},
    Row{&kEnglish, "   ", std::nullopt, NaN},
    Row{&kEnglish, "-", std::nullopt, NaN},
    Row{&kEnglish, "+", std::nullopt, NaN},
    Row{&kEnglish, ".", std::nullopt, NaN},
    Row{&kEnglish, "-.", std::nullopt, NaN},
    Row{&kEnglish, "abc", std::nullopt, NaN},
    Row{&kEnglish, "6O", std::nullopt, NaN},
    Row{&kEnglish, "1.2.3", std::nullopt, NaN},
    Row{&kEnglish, "1 2", std::nullopt, NaN},
    Row{&kEnglish, "--5", std::nullopt, NaN},
    Row{&kEnglish, "5-", std::nullopt, NaN},
    Row{&kEnglish, "E5", std::nullopt, NaN},
    Row{&kEnglish, "1E", std::nullopt, NaN},
    Row{&kEnglish, "1E+", std::nullopt, NaN},
    Row{&kEnglish, "1E3.5", std::nullopt, NaN},
    Row{&kEnglish, "inf", std::nullopt, NaN},
    Row{&kEnglish, "Infinity", std::nullopt, NaN},
    Row{&kEnglish, "nan", std::nullopt, NaN},
    Row{&kEnglish, "0x1p3", std::nullopt, NaN},
    Row{&kEnglish, "1e400", std::nullopt, Range},
    Row{&kEnglish, "-1E400", std::nullopt, Range},
    Row{&kEnglish, "1.7976931348623159e308", std::nullopt, Range},
    Row{&kEnglish, "1e99999999999999999999999", std::nullopt, Range},
    // Grouping only in a well-formed integer part: a stray separator would scale the value.
    Row{&kEnglish, "1,5", std::nullopt, NaN},
    Row{&kEnglish, "0,5", std::nullopt, NaN},
    Row{&kEnglish, "0,500", std::nullopt, NaN},
    Row{&kEnglish, "10,00", std::nullopt, NaN},
    Row{&kEnglish, "1,0000", std::nullopt, NaN},
    Row{&kEnglish, "1234,567", std::nullopt, NaN},
    Row{&kEnglish, "1,000.000,5", std::nullopt, NaN},
    Row{&kEnglish, "1.000,5", std::nullopt, NaN},
    Row{&kEnglish, ",5", std::nullopt, NaN},
    Row{&kEnglish, "1,", std::nullopt, NaN},
    Row{&kEnglish, "1,,000", std::nullopt, NaN},
    Row{&kEnglish, "1,000e3", 1e6},
    Row{&kEnglish, "1e1,000", std::nullopt, NaN},
    Row{&kEnglish, ",500", std::nullopt, NaN},  // no leading group
    Row{&kEnglish, "1,234,56,789", std::nullopt, NaN},  // middle groups must agree
    Row{&kEnglish, "1,000,00,000", std::nullopt, NaN},
    Row{&kEnglish, kEveryBlank + "30" + kEveryBlank, 30.0},
    Row{&kEnglish, "\u2212" "30", -30.0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(OtherLocales, TextToDoubleTable, ::testing::Values(
    Row{&kGerman, "997,01", 997.01},
    Row{&kGerman, "1.000,5", 1000.5},
    Row{&kGerman, ",5", 0.5},
    Row{&kGerman, "997.01", std::nullopt, NaN},  // not 99701
    Row{&kGerman, "1,000.5", std::nullopt, NaN},
    Row{&kGerman, "1.5", std::nullopt, NaN},
    Row{&kFrench, "1\u202F000,5", 1000.5},
    Row{&kFrench, "1\u00A0000,5", 1000.5},  // the older no-break space
    Row{&kFrench, "1 000,5", 1000.5},  // what people type
    Row{&kFrench, "12 345 678", 12345678.0},
    Row{&kFrench, "\u00A0 997,01\u202F", 997.01},
    Row{&kFrench, "1 00", std::nullopt, NaN},
    Row{&kFrench, "1.5", std::nullopt, NaN},
    Row{&kFrench, "1,5 000", std::nullopt, NaN},
    Row{&kSwiss, "1\u2019000.5", 1000.5},
    Row{&kSwiss, "997.01", 997.01},
    Row{&kSwiss, "1'000", 1000.0},  // the keyboard's apostrophe
    Row{&kEnglish, "30\r\n", 30.0},  // a pasted spreadsheet cell
    Row{&kEnglish, "\u3000\u2009" "30\n", 30.0},
    Row{&kEnglish, "\n", std::nullopt, NaN},
    Row{&kIndian, "12,34,567.5", 1234567.5},
    Row{&kIndian, "1,00,000", 100000.0},
    Row{&kIndian, "100,000", 100000.0},  // threes stay accepted
    Row{&kIndian, "1,0,000", std::nullopt, NaN},
    Row{&kIndian, "123,45,678", std::nullopt, NaN},
    Row{&kIndian, "1,23,4567", std::nullopt, NaN},
    Row{&kPolish, "1234 567", 1234567.0},  // as Qt writes it
    Row{&kPolish, "12345 678", std::nullopt, NaN},
    Row{&kSwedish, "\u2212" "30", -30.0},
    Row{&kSwedish, "-1 000,5", -1000.5},
    Row{&kSwedish, "1\u202F000", 1000.0},  // all three spaces read
    Row{&kSpaceGroups, "1\u00A0000", 1000.0},
    Row{&kSpaceGroups, "1\u202F000,5", 1000.5},
    Row{&kArabic, "\u0669\u0669\u0667\u066B\u0660\u0661", 997.01},
    Row{&kArabic, "\u061C-\u0663\u0660", -30.0},
    Row{&kArabic, "-\u0663\u0660", -30.0},  // without the mark
    Row{&kArabic, "\u061C+\u0663\u0660", 30.0},
    Row{&kArabic, "1,000.5", 1000.5},  // the keyboard's separators
    Row{&kArabic, "\u0661\u066C\u0660\u0660\u0660", 1000.0},
    // All the digits of one number from one run of ten, or from ASCII and the locale's own
    // digits, as a keyboard types beside a default; any other mix reads other than it looks.
    Row{&kArabic, "\u06630", 30.0},
    Row{&kArabic, "\u0663\u06605", 305.0},  // an ASCII digit appended to the default
    Row{&kArabic, "3\u066B\u0665", 3.5},
    Row{&kArabic, "\u0663\u06F0", std::nullopt, NaN},  // Arabic-Indic beside Persian
    Row{&kPersian, "\u06F3\u0660", std::nullopt, NaN},
    Row{&kPersian, "\u06F35", 35.0},
    Row{&kArabic, "\u09EA0", std::nullopt, NaN},  // Bengali is not the locale's
    Row{&kEnglish, "1\u06605", std::nullopt, NaN},  // an Arabic-Indic zero looks like a dot
    Row{&kEnglish, "\u09EA0", std::nullopt, NaN},  // a Bengali four looks like 8
    Row{&kEnglish, "1.\u0966", std::nullopt, NaN},  // in the fraction
    Row{&kEnglish, "1E\u0967", std::nullopt, NaN},  // in the exponent
    Row{&kEnglish, "\U0001D7CF\U0001D7D8", std::nullopt, NaN},  // bold and double-struck
    Row{&kJapanese, "\uFF130", 30.0},  // full-width forms are ASCII digits
    // A digit has one value whatever its script, in every locale.
    Row{&kArabic, "\u06F3\u06F0", 30.0},  // Persian digits in Egyptian Arabic
    Row{&kEnglish, "\u0969\u0966", 30.0},  // Devanagari
    Row{&kEnglish, "\u06F3\u06F0", 30.0},  // Urdu keyboards
    Row{&kEnglish, "\u0E53\u0E50.\u0E55", 30.5},  // Thai
    Row{&kGerman, "\U0001D7D1\U0001D7CE", 30.0},  // mathematical bold, a second run of ten
    Row{&kEnglish, "\u0BE6\u0BEF", 9.0},  // Tamil, first and last of the run
    Row{&kEnglish, "\u19DA", std::nullopt, NaN},  // a digit, but not a decimal one
    Row{&kEnglish, "\u0F2A", std::nullopt, NaN},  // Tibetan half digits follow a run of ten
    Row{&kEnglish, "\u2163", std::nullopt, NaN},  // Roman numeral four
    // Full-width forms as their ASCII counterparts, then the locale's rules.
    Row{&kJapanese, "\uFF13\uFF10", 30.0},
    Row{&kJapanese, "\uFF19\uFF10\uFF19", 909.0},  // both ends of the full-width digits
    Row{&kJapanese, "\uFF11\uFF0C\uFF10\uFF12\uFF15\uFF0E\uFF15", 1025.5},
    Row{&kJapanese, "\uFF0D\uFF13\uFF10", -30.0},
    Row{&kJapanese, "\uFF0B\uFF13\uFF25\uFF12", 300.0},
    Row{&kJapanese, "\uFF13\uFF45\uFF0D\uFF12", 0.03},
    Row{&kGerman, "\uFF11\uFF0E\uFF10\uFF10\uFF10\uFF0C\uFF15", 1000.5},
    Row{&kJapanese, "\uFF11\uFF0C\uFF15", std::nullopt, NaN},  // still strict grouping
    Row{&kArabicDecimalDotGroups, "\uFF11\uFF0E\uFF10\uFF10\uFF10", 1000.0},
    Row{&kJapanese, "\uFF0F", std::nullopt, NaN},  // a full-width slash is no number
    Row{&kAdlam, "\U0001E951\U0001E952.\U0001E955", 12.5},
    // A stand-in that could be the other separator is no stand-in: "." is this group.
    Row{&kArabicDecimalDotGroups, "1.000", 1000.0},
    // Stand-ins go one way only: the Arabic separators mean nothing in German.
    Row{&kGerman, "1\u066C5", std::nullopt, NaN},
    Row{&kEnglish, "1\u066B5", std::nullopt, NaN},
    Row{&kSwiss, "1\u2019", std::nullopt, NaN},
    Row{&kSwiss, "1\u20190", std::nullopt, NaN}));
// clang-format on

// Broken UTF-8 and stray bytes are refused, never read past; only the shortest form of a
// scalar value is a character.
TEST(TextToDoubleBadInput, MalformedBytesAreRefused) {
    for (const std::string& text :
         {std::string("\xC2"), std::string("1\xE2\x80"), std::string("\xE2\x80\xAF"),
          std::string("5\xFF"),
          std::string("1\0"
                      "2",
                      3),
          std::string("\x80"),
          std::string("\xE0\x99\xA1\xE0\x99\xA0"),  // overlong U+0661 U+0660
          std::string("\xF0\x80\x99\xA1"),          // overlong U+0661, four bytes
          std::string("\xC0\xB1"),                  // overlong "1"
          std::string("\xED\xA0\x80"),              // a surrogate
          std::string("\xF4\x90\x80\x80"),          // beyond U+10FFFF
          std::string("\xEF\xBC"),                  // a cut full-width form
          std::string("1\xEF\xBC\x90\xBC\x90"),     // a stray byte after one
          std::string("\xD9!"),                     // no continuation byte: not U+0661
          std::string("\xF8\x9D\x9F\x8F")}) {       // a five-byte lead, U+1D7CF's bits
        for (const NumberFormat* format : {&kEnglish, &kFrench, &kSwiss, &kArabic, &kAdlam}) {
            EXPECT_EQ(ReadNumber(text, *format).error, NaN) << "accepted a malformed text";
        }
    }
}

std::string Utf8(char32_t c) {
    if (c < 0x80) return std::string(1, char(c));
    const int more = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
    std::string bytes(1, char(lead[more] | (c >> (6 * more))));
    for (int i = more - 1; i >= 0; --i) bytes += char(0x80 | ((c >> (6 * i)) & 0x3F));
    return bytes;
}

// Every decimal digit Unicode has reads as its value, in any locale; the code point after a
// run's nine reads only where another run starts.
TEST(TextToDoubleUnicode, EveryDecimalDigitReads) {
    // C stdio, which the WebAssembly build has too (under Node, with /usr/share given).
    std::FILE* data = std::fopen("/usr/share/unicode/UnicodeData.txt", "r");
    if (!data) GTEST_SKIP() << "needs unicode-data";
    std::map<char32_t, int> digits;
    for (char buffer[512]; std::fgets(buffer, sizeof buffer, data);) {
        std::istringstream in(buffer);
        std::vector<std::string> fields;
        for (std::string field; std::getline(in, field, ';');) fields.push_back(field);
        if (fields.size() > 7 && fields[2] == "Nd")
            digits[char32_t(std::stoul(fields[0], nullptr, 16))] = std::stoi(fields[6]);
    }
    std::fclose(data);
    ASSERT_EQ(digits.size(), 680u);  // Unicode 15
    for (const auto& [c, value] : digits) {
        EXPECT_EQ(Value(Utf8(c) + Utf8(c), kGerman), value * 11) << std::hex << +c;
        if (value == 9 && !digits.contains(c + 1)) {
            EXPECT_EQ(ReadNumber(Utf8(c + 1), kEnglish).error, NaN) << std::hex << +c;
        }
    }
}

// A megabyte of digits is read in one pass: these finish at once or not at all.
TEST(TextToDoubleBadInput, MegabyteTextsConvertOrFail) {
    const std::string digits(1'000'000, '7');
    EXPECT_EQ(ReadNumber(digits, kEnglish).error, Range);
    EXPECT_EQ(Value("0." + std::string(999'999, '0') + "1", kEnglish), 0.0);
    EXPECT_EQ(Value(std::string(999'999, '0') + "1", kEnglish), 1.0);
    EXPECT_EQ(Value("1." + std::string(999'999, '0') + "1", kEnglish), 1.0);
    std::string grouped = "1";
    while (grouped.size() < 1'000'000) grouped += ",000";
    EXPECT_EQ(ReadNumber(grouped, kEnglish).error, Range);  // well grouped, beyond any double
    EXPECT_EQ(ReadNumber(std::string(1'000'000, ','), kEnglish).error, NaN);
    EXPECT_EQ(ReadNumber(std::string(1'000'000, ' '), kEnglish).error, NaN);
}

#if defined(__cpp_exceptions)
// Where exceptions exist, TextToDouble throws the reason ReadNumber gives.
TEST(TextToDoubleThrows, TheReasonOfARefusal) {
    EXPECT_EQ(TextToDouble("1,025.5", kEnglish), 1025.5);
    for (const auto& [text, kind] : {std::pair<std::string, Kind>{"1,5", NaN}, {"1e999", Range}}) {
        try {
            TextToDouble(text, kEnglish);
            ADD_FAILURE() << "accepted " << text;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.kind(), kind) << text;
        }
    }
}
#endif

}  // namespace
}  // namespace quorvane
