#include "rounded_digits.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

namespace quorvane {
namespace {

constexpr std::uint32_t kLimbBase = 1'000'000'000;

// A whole number in base 10^9, least significant limb first, large enough for any double:
// 2^1024 takes 35 limbs, and 2^53 * 5^1074 (the smallest double's digits) 86.
struct Whole {
    std::array<std::uint32_t, 90> limbs{};
    int size = 0;

    void Multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < size; ++i) {
            carry += std::uint64_t(limbs[i]) * factor;
            const std::uint64_t high = carry / kLimbBase;  // one division: wasm32 has no cheap one
            limbs[i] = std::uint32_t(carry - high * kLimbBase);
            carry = high;
        }
        for (; carry != 0; carry /= kLimbBase) limbs[size++] = std::uint32_t(carry % kLimbBase);
    }
};

// value = whole * 10^exponent, exactly: the mantissa times 2^e, or times 5^-e over 10^-e.
Whole Exact(double value, int& exponent) {
    int binaryExponent = 0;
    const double fraction = std::frexp(value, &binaryExponent);
    auto mantissa = std::uint64_t(std::ldexp(fraction, 53));
    int twos = binaryExponent - 53;
    const int zeros = std::countr_zero(mantissa);  // fewer fives to multiply by
    mantissa >>= zeros;
    twos += zeros;
    Whole whole;
    for (std::uint64_t rest = mantissa; rest != 0; rest /= kLimbBase)
        whole.limbs[whole.size++] = std::uint32_t(rest % kLimbBase);
    exponent = twos < 0 ? twos : 0;
    for (int left = twos; left > 0; left -= 29)
        whole.Multiply(std::uint32_t(1) << std::min(left, 29));
    constexpr std::uint32_t kFivesPerStep[] = {1,       5,        25,        125,       625,
                                               3125,    15625,    78125,     390625,    1953125,
                                               9765625, 48828125, 244140625, 1220703125};
    for (int left = -twos; left > 0; left -= 13) whole.Multiply(kFivesPerStep[std::min(left, 13)]);
    return whole;
}

// Digits of a whole number below 10^16, `count` of them, into `out`.
void WriteWhole(std::uint64_t whole, int count, char* out) {
    auto high = std::uint32_t(whole / 100'000'000), low = std::uint32_t(whole % 100'000'000);
    for (int i = count - 1; i >= 0; --i, low /= 10) {
        if (i == count - 9) low = high;  // the last eight digits written: on to the high part
        out[i] = char('0' + low % 10);
    }
}

// From 10^-8 to 10^15, at most 15 digits, the scaled value v * 10^k has an exact power of ten
// and stays below 2^53: fma gives its rounding error exactly, which decides the rounding. Else,
// or where the scale is not found in three tries, nothing (the whole-number way is taken).
std::optional<RoundedDigits> RoundNearby(double value, int count) {
    static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (count > 15 || !(value >= 1e-8 && value < 1e15)) return std::nullopt;
    const double low = kTens[count - 1], high = kTens[count];
    int binaryExponent = 0;
    std::frexp(value, &binaryExponent);
    int k = count - 1 - (((binaryExponent - 1) * 1233) >> 12);  // log10(2) ~ 1233 / 4096
    for (int tries = 0; tries < 3 && k >= 0 && k <= 22; ++tries) {
        const double product = value * kTens[k], error = std::fma(value, kTens[k], -product);
        if (product < low || (product == low && error < 0)) {
            ++k;
        } else if (product >= high) {
            --k;
        } else {
            double whole = std::floor(product);
            const double above = (product - whole - 0.5) + error;  // its sign is exact
            if (above > 0 || (above == 0 && std::fmod(whole, 2) != 0)) whole += 1;
            RoundedDigits result{.count = std::size_t(count), .exponent = count - 1 - k};
            if (whole == high) {  // 9.99... rounded up to 10
                whole = low;
                ++result.exponent;
            }
            WriteWhole(std::uint64_t(whole), count, result.storage.data());
            return result;
        }
    }
    return std::nullopt;
}

}  // namespace

RoundedDigits RoundToDigits(double value, int count) {
    if (const auto nearby = RoundNearby(value, count)) return *nearby;
    int exponent = 0;
    const Whole whole = Exact(value, exponent);
    RoundedDigits result;
    result.count = std::size_t(count);
    // The digits from the top, up to one past those kept; the rest only tells whether it is 0.
    bool restIsZero = true;
    int written = 0, total = 0;
    char next = '0';
    for (int i = whole.size - 1; i >= 0; --i) {
        if (total > count) {  // past the digit that decides: only whether the rest is zero
            restIsZero = restIsZero && whole.limbs[i] == 0;
            total += 9;
            continue;
        }
        std::array<char, 9> nine{};
        for (int d = 8, limb = int(whole.limbs[i]); d >= 0; --d, limb /= 10)
            nine[d] = char('0' + limb % 10);
        int d = 0;
        if (i == whole.size - 1)
            while (nine[d] == '0') ++d;  // the top limb has no leading zeros
        for (; d < 9; ++d, ++total) {
            if (written < count)
                result.storage[written++] = nine[d];
            else if (total == count)
                next = nine[d];
            else
                restIsZero = restIsZero && nine[d] == '0';
        }
    }
    result.exponent = total - 1 + exponent;
    for (; written < count; ++written) result.storage[written] = '0';
    const bool odd = (result.storage[count - 1] - '0') % 2 != 0;
    if (next > '5' || (next == '5' && (!restIsZero || odd))) {
        int i = count - 1;
        for (; i >= 0 && result.storage[i] == '9'; --i) result.storage[i] = '0';
        if (i >= 0) {
            ++result.storage[i];
        } else {  // 9.99... rounded up to 10
            result.storage[0] = '1';
            ++result.exponent;
        }
    }
    return result;
}

}  // namespace quorvane
