// A double's leading decimal digits, correctly rounded, worked out exactly with integers: the
// same digits as an exact printf or to_chars, without their size in the browser's module (its
// printf works in software long doubles; libc++'s to_chars carries large tables).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvane {

struct RoundedDigits {
    std::array<char, 17> storage{};
    std::size_t count = 0;  // from RoundToDigits as many as asked, trailing zeros included
    int exponent = 0;       // the decimal exponent of the first digit

    // The digits live in the value itself, so that a copy carries its own.
    std::string_view digits() const { return {storage.data(), count}; }
};

// The first `count` (1 to 17) significant digits of `value` (finite, > 0), rounded half to
// even on its exact value: 1234.5 to 4 digits gives {"1234", 3}, 0.00125 to 2 {"13", -3}.
RoundedDigits RoundToDigits(double value, int count);

}  // namespace quorvane
