// TextToDouble against the C library's strtod_l in the C locale: random well-formed texts in
// each locale, written alongside their plain C spelling, must read bit for bit alike. And the
// rounded digits against the C library's exact printf, for doubles of every exponent.
#include <gtest/gtest.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats.h"
#include "rounded_digits.h"

namespace quorvane {
namespace {

struct Sample {
    std::string local;  // as the user would type it
    std::string plain;  // the same number for strtod_l in the C locale
};

class TextMaker {
  public:
    explicit TextMaker(std::uint64_t seed) : random_(seed) {}

    Sample Make(const NumberFormat& format) {
        Sample s;
        const auto both = [&s](const std::string& local, const std::string& plain) {
            s.local += local;
            s.plain += plain;
        };
        s.local += Blanks();
        switch (Pick(3)) {
            case 0:
                both("-", "-");
                break;
            case 1:
                both("+", "+");
                break;
            default:
                break;
        }
        const bool fractionFirst = Pick(8) == 0;
        if (!fractionFirst) {
            if (Pick(3) == 0) {  // grouped: 1-3 leading digits, then groups of three
                const std::string head = std::to_string(1 + Pick(9)) + Digits(Pick(3));
                both(head, head);
                for (int groups = 1 + Pick(5); groups > 0; --groups) {
                    const std::string group = Digits(3);
                    both(format.group + group, group);
                }
            } else {
                const std::string digits = Digits(1 + Length());
                both(digits, digits);
            }
        }
        if (fractionFirst || Pick(2) == 0) {
            both(format.decimal, ".");
            const std::string digits = Digits(fractionFirst ? 1 + Length() : Length());
            both(digits, digits);
        }
        if (Pick(2) == 0) {
            const std::string letter = Pick(2) ? "e" : "E";
            const std::string sign = Pick(3) == 0 ? "" : (Pick(2) ? "-" : "+");
            static const int kExponents[] = {0,   1,   5,   22,  23,  280, 300, 307, 308,
                                             309, 310, 320, 323, 324, 325, 330, 340, 400};
            const int value = std::max(0, kExponents[Pick(18)] + Pick(3) - 1);
            const std::string exponent =
                std::string(Pick(3) == 0 ? Pick(4) : 0, '0') + std::to_string(value);
            both(letter + sign + exponent, letter + sign + exponent);
        }
        s.local += Blanks();
        return s;
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    int Length() {  // mostly short, sometimes past the 19 digits of the fast path, rarely long
        const int kind = Pick(20);
        return kind == 0 ? Pick(800) : (kind < 5 ? 15 + Pick(10) : Pick(8));
    }

    std::string Digits(int count) {
        std::string digits;
        const bool runs = Pick(4) == 0;  // 999... and 000... runs sit next to rounding edges
        const char run = Pick(2) ? '9' : '0';
        for (int i = 0; i < count; ++i)
            digits += runs && Pick(10) ? run : static_cast<char>('0' + Pick(10));
        return digits;
    }

    std::string Blanks() {
        static const char* const kBlanks[] = {"", "", "", " ", "  ", "\t", "\u00A0"};
        return kBlanks[Pick(7)];
    }

    std::mt19937_64 random_;
};

TEST(Differential, MatchesStrtodInTheCLocaleBitForBit) {
    locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    ASSERT_NE(c, nullptr);
#ifdef QUORVANE_SLOW_TESTS
    constexpr int kSamples = 5'000'000;
#else
    constexpr int kSamples = 200'000;
#endif
    const auto& formats = test::kAllFormats;
    TextMaker maker(1208);
    int mismatches = 0;
    for (int i = 0; i < kSamples && mismatches < 10; ++i) {
        const NumberFormat& format = *formats[std::size_t(i) % formats.size()];
        const Sample s = maker.Make(format);
        errno = 0;
        const double expected = strtod_l(s.plain.c_str(), nullptr, c);
        if (std::isinf(expected)) {
            const auto error = ReadNumber(s.local, format).error;
            EXPECT_EQ(error, ConversionError::Kind::OutOfRange) << s.local;
            mismatches += error != ConversionError::Kind::OutOfRange;
            continue;
        }
        const NumberRead read = ReadNumber(s.local, format);
        if (read.error) {
            ADD_FAILURE() << "refused \"" << s.local << '"';
            ++mismatches;
            continue;
        }
        const double got = read.value;
        if (std::memcmp(&got, &expected, sizeof got) != 0) {
            ADD_FAILURE() << '"' << s.local << "\" read as " << std::hexfloat << got
                          << ", strtod_l gives " << expected;
            ++mismatches;
        }
    }
    freelocale(c);
    EXPECT_EQ(mismatches, 0);
}

TEST(Differential, RoundedDigitsMatchPrintf) {
    // Edges first: ties at the 16th digit, 9s that carry, the extremes; then random bit patterns.
    std::vector<double> values = {0x1p-1074, 0x1.fffffffffffffp1023,
                                  0x1p-1022, 1e15 + 5,
                                  1e16 + 10, 999999999999999.5,
                                  0.5,       6.983,
                                  997.01,    2.5,
                                  0.125,     1e23};
    std::mt19937_64 random(1208);
    for (int i = 0; i < 200'000; ++i) {  // every exponent, then those of 10^-9 to 10^16
        std::uint64_t bits = random() & ~(std::uint64_t(1) << 63);
        if (i % 2)
            bits = (bits & ((std::uint64_t(1) << 52) - 1)) | std::uint64_t(993 + i % 84) << 52;
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value) && value > 0) values.push_back(value);
    }
    for (const double value : values) {
        for (const int count : {1, 3, 8, 9, 15, 17}) {
            char expected[40];
            std::snprintf(expected, sizeof expected, "%.*e", count - 1, value);
            const RoundedDigits got = RoundToDigits(value, count);
            const std::string digits(got.digits());
            const std::string text =
                digits.substr(0, 1) + (count > 1 ? "." : "") + digits.substr(1);
            char exponent[8];
            std::snprintf(exponent, sizeof exponent, "e%+03d", got.exponent);
            ASSERT_EQ(text + exponent, expected) << std::hexfloat << value;
        }
    }
}

}  // namespace
}  // namespace quorvane
