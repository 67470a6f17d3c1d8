#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>

#include "formats.h"

namespace quorvane {
namespace {

using test::kEnglish;
using test::kFrench;
using test::kGerman;
using test::kSwiss;

struct RoundRow {
    double value;
    int places;
    double expected;
};

void PrintTo(const RoundRow& row, std::ostream* out) {
    *out << row.value;
}

class RoundDecimalTable : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundDecimalTable, NearestMultipleTiesToEven) {
    const auto& [value, places, expected] = GetParam();
    const double got = RoundDecimal(value, places);
    EXPECT_EQ(got, expected) << value;
    EXPECT_EQ(std::signbit(got), std::signbit(expected)) << value;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RoundDecimalTable, ::testing::Values(
    RoundRow{0.0625, 3, 0.062},  // exact halves as doubles go to the even digit
    RoundRow{0.1875, 3, 0.188},
    RoundRow{0.3125, 3, 0.312},
    RoundRow{-0.0625, 3, -0.062},
    RoundRow{-0.1875, 3, -0.188},
    RoundRow{2.5, 0, 2.0},
    RoundRow{3.5, 0, 4.0},
    RoundRow{-2.5, 0, -2.0},
    RoundRow{6.9833429, 3, 6.983},
    RoundRow{4.88765, 3, 4.888},
    RoundRow{0.0004, 3, 0.0},
    RoundRow{-0.0004, 3, -0.0},
    RoundRow{0.0, 3, 0.0},
    RoundRow{1e-300, 3, 0.0},
    RoundRow{123456789.12349, 3, 123456789.123},
    RoundRow{0x1p52, 3, 0x1p52},  // too large for a fractional digit: unchanged
    RoundRow{-0x1p60, 3, -0x1p60},
    RoundRow{1.7976931348623157e308, 3, 1.7976931348623157e308}));
// clang-format on

// Reference: round the exact decimal expansion of the double (glibc prints it exactly).
double ReferenceRound(double value, int places) {
    static char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.1100f", std::fabs(value));
    std::string text(buffer);
    const std::size_t point = text.find('.');
    std::string kept = text.substr(0, point) + text.substr(point + 1, places);
    const std::string rest = text.substr(point + 1 + places);
    const std::size_t nonZero = rest.find_first_not_of('0', 1);
    const bool above = rest[0] > '5' || (rest[0] == '5' && nonZero != std::string::npos);
    const bool half = rest[0] == '5' && nonZero == std::string::npos;
    if (above || (half && (kept.back() - '0') % 2 == 1)) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    kept.insert(kept.size() - places, ".");
    const double magnitude = std::strtod(kept.c_str(), nullptr);
    return value < 0 ? -magnitude : magnitude;
}

TEST(RoundDecimal, MatchesExactDecimalRounding) {
    std::mt19937_64 random(20121208);
    std::uniform_real_distribution<double> exponent(-12.0, 12.6);
    std::uniform_int_distribution<long long> halves(-4'000'000'000'000'000, 4'000'000'000'000'000);
    for (int i = 0; i < 20'000; ++i) {
        const double value = (i % 2 ? 1.0 : -1.0) * std::pow(10.0, exponent(random));
        ASSERT_EQ(RoundDecimal(value, 3), ReferenceRound(value, 3)) << std::hexfloat << value;
        // Exact halves: odd multiples of 2^-4 scaled into range.
        const double half = static_cast<double>(halves(random) | 1) / 0x1p30;
        if (std::fabs(half) * 1000 < 0x1p52) {
            ASSERT_EQ(RoundDecimal(half, 3), ReferenceRound(half, 3)) << std::hexfloat << half;
        }
    }
}

struct TextRow {
    const NumberFormat* format;
    double value;
    std::string text;
};

void PrintTo(const TextRow& row, std::ostream* out) {
    *out << row.text;
}

class DoubleToTextTable : public ::testing::TestWithParam<TextRow> {};

TEST_P(DoubleToTextTable, Writes) {
    const auto& [format, value, text] = GetParam();
    EXPECT_EQ(DoubleToText(value, *format), text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DoubleToTextTable, ::testing::Values(
    TextRow{&kEnglish, 6.983, "6.983"},
    TextRow{&kEnglish, 12.0, "12"},
    TextRow{&kEnglish, 0.5, "0.5"},
    TextRow{&kEnglish, -6.983, "-6.983"},
    TextRow{&kEnglish, 0.0, "0"},
    TextRow{&kEnglish, -0.0, "0"},
    TextRow{&kEnglish, 997.01, "997.01"},
    TextRow{&kEnglish, 0.1 + 0.2, "0.3"},  // 15 significant digits
    TextRow{&kEnglish, 1234567.891, "1234567.891"},  // no grouping
    TextRow{&kEnglish, 999999999999.999, "999999999999.999"},
    TextRow{&kEnglish, 123456789012345.6, "123456789012346"},
    TextRow{&kEnglish, 1e15, "1000000000000000"},  // plain up to and including 10^15
    TextRow{&kEnglish, 999999999999999.875, "1000000000000000"},
    TextRow{&kEnglish, 1e15 + 10, "1.00000000000001E+15"},
    TextRow{&kEnglish, 1.7976931348623157e308, "1.79769313486231E+308"},  // not rounded past the range
    TextRow{&kEnglish, -1.7976931348623157e308, "-1.79769313486231E+308"},
    TextRow{&kEnglish, 1.5e300, "1.5E+300"},
    TextRow{&kEnglish, -2.5e20, "-2.5E+20"},
    TextRow{&kEnglish, 0.0001, "0.0001"},
    TextRow{&kEnglish, 0.00002, "2E-5"},
    TextRow{&kEnglish, 1000000000000000.125, "1000000000000000"},  // notation of the rounded value
    TextRow{&kEnglish, 0.000099999999999999995, "0.0001"},
    TextRow{&kGerman, 6.983, "6,983"},
    TextRow{&kGerman, 997.01, "997,01"},
    TextRow{&kGerman, 1234567.5, "1234567,5"},
    TextRow{&kGerman, 1.5e15, "1,5E+15"},
    TextRow{&kFrench, -0.5, "-0,5"},
    TextRow{&kSwiss, 997.01, "997.01"},
    TextRow{&test::kArabic, 997.01, "\u0669\u0669\u0667\u066B\u0660\u0661"},
    TextRow{&test::kArabic, -6.983, "-\u0666\u066B\u0669\u0668\u0663"},
    TextRow{&test::kArabic, 0.0, "\u0660"},
    TextRow{&test::kArabic, 1.5e20, "\u0661\u066B\u0665E+\u0662\u0660"},
    TextRow{&test::kAdlam, 12.5, "\U0001E951\U0001E952.\U0001E955"}));
// clang-format on

// What the result box shows reads back as the same number, in every locale.
TEST(DoubleToText, RoundTripsEveryRoundedResult) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(-4.0, 11.0);
    for (const NumberFormat* format : test::kAllFormats) {
        for (int i = 0; i < 10'000; ++i) {
            const double value = (i % 2 ? 1.0 : -1.0) * std::pow(10.0, exponent(random));
            const double rounded = RoundDecimal(value, 3);
            const std::string text = DoubleToText(rounded, *format);
            const NumberRead read = ReadNumber(text, *format);
            ASSERT_EQ(read.error, std::nullopt) << text;
            ASSERT_EQ(read.value, rounded) << text;
            ASSERT_EQ(text.find('E'), std::string::npos) << text;
        }
    }
}

}  // namespace
}  // namespace quorvane
