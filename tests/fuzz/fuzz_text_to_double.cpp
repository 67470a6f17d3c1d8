// Fuzz target: any bytes, in any of the tests' locales. The first byte picks the locale, the
// rest is the text. Whatever reads gives a finite number; what DoubleToText writes for it reads
// back, and writing that again gives the same text. Anything else aborts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats.h"

namespace {

void Require(bool holds, const char* what, std::string_view text) {
    if (holds) return;
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, int(text.size()), text.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    if (size == 0) return 0;
    const auto& formats = test::kAllFormats;
    const NumberFormat& format = *formats[data[0] % formats.size()];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const NumberRead read = ReadNumber(text, format);
    if (read.error) return 0;  // refused: fine
    const double value = read.value;
    Require(std::isfinite(value), "read as a non-finite value", text);
    const std::string written = DoubleToText(value, format);
    const NumberRead back = ReadNumber(written, format);
    Require(!back.error, "what DoubleToText wrote does not read back", written);
    const double again = back.value;
    Require(DoubleToText(again, format) == written, "writing again gives another text", written);
    return 0;
}
