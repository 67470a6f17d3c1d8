// Power in WebAssembly, for bench/web_bench.py to time against the native core_bench's BM_Power:
// the same view over the window's default texts, called `count` times.
#include "defaults_view.h"

using quorvane::NumberFormat;

// The last result, so that no call can be left out.
extern "C" __attribute__((export_name("power_loop"))) double PowerLoop(int count) {
    DefaultsView view;
    double last = 0;
    for (int i = 0; i < count; ++i) last = Power(view, NumberFormat{".", ","}).value_or(-1);
    return last;
}
