#!/usr/bin/python3
"""The page against a yardstick, side by side in one run of headless Chromium, and Power in
WebAssembly against the native build.

Usage: bench/web_bench.py [NATIVE_BUILD] [WASM_BUILD] [ROUNDS]
       (defaults: build, build-wasm, 15; the native build needs -DQUORVANE_BENCH=ON, the
       WebAssembly one is scripts/web.sh's)
Prints the median time from navigation to "6.983" set in the result, to "6.983" on screen (the
frame after, or the first paint where that is later), and to the first paint with content,
for the page and for a plain page with the same controls computing in plain script
(bench/web/yardstick/); nanoseconds a Power call in
WebAssembly and natively (core_bench's BM_Power); the size of the page's files (what
scripts/web.sh copies to build-web/) and of its module. Goals: page <= 1.2x the yardstick,
Power <= 2x native, the page <= 120 kB, the module <= 70 kB.
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from browser_test import Site, chromium  # noqa: E402

# Notes the moment the result holds "6.983", polled without timer clamping, and the start of the
# frame that draws it.
SHOWN = """
(function poll() {
  const p = document.getElementById('P');
  if (p && p.value === '6.983') {
    window.shown = performance.now();
    requestAnimationFrame(() => { window.framed = performance.now(); });
    return;
  }
  const channel = new MessageChannel();
  channel.port1.onmessage = poll;
  channel.port2.postMessage(0);
})();"""


def lay_out(wasm_build, where):
    subprocess.run(["cmake", "--build", wasm_build, "--target", "power_loop"], check=True,
                   capture_output=True)
    site = os.path.join(wasm_build, "window", "web", "site")
    shutil.copytree(site, os.path.join(where, "page"))
    shutil.copytree(os.path.join(HERE, "web", "yardstick"), os.path.join(where, "yardstick"))
    for picture in ("logo.svg", "formula-ink.svg"):
        shutil.copy(os.path.join(site, picture), os.path.join(where, "yardstick"))
    os.makedirs(os.path.join(where, "power"))
    for name in ("power.html", "power.js"):
        shutil.copy(os.path.join(HERE, "web", name), os.path.join(where, "power"))
    shutil.copy(os.path.join(wasm_build, "bench", "web", "power_loop.wasm"),
                os.path.join(where, "power"))
    sizes = {f: os.path.getsize(os.path.join(site, f)) for f in os.listdir(site)}
    return sum(sizes.values()), sizes["quorvane.wasm"]


def shown_after(page, url):
    """Milliseconds from navigation to "6.983", and to the first paint with content."""
    page.navigate(url)
    for _ in range(200):
        shown, framed, painted = page.evaluate(
            "[window.shown, window.framed, performance.getEntriesByName('first-contentful-paint')"
            ".map((e) => e.startTime)[0]]")
        if shown and framed and painted:
            # On screen: in the first frame drawn after it is set, and not before the first paint.
            return shown, painted, max(framed, painted)
        page.settle()
    raise SystemExit(f"{url}: no 6.983 shown")


def native_power(native_build):
    out = subprocess.run([os.path.join(native_build, "bench", "core_bench"),
                          "--benchmark_filter=^BM_Power$", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)["benchmarks"][0]["cpu_time"]


def main():
    native_build = sys.argv[1] if len(sys.argv) > 1 else "build"
    wasm_build = sys.argv[2] if len(sys.argv) > 2 else "build-wasm"
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 15
    with tempfile.TemporaryDirectory() as where:
        size, module = lay_out(wasm_build, where)
        site = Site(where)
        page = chromium({})
        try:
            page.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": SHOWN})
            times = {"page": [], "yardstick": []}
            for _ in range(rounds + 1):  # the first round fills the caches, and is not counted
                for name in times:
                    times[name].append(shown_after(page, f"{site.url}{name}/"))
            page.navigate(f"{site.url}power/power.html")
            page.driver.set_script_timeout(60)
            wasm = page.driver.execute_async_script(
                "window.result.then(arguments[0], e => arguments[0](String(e)))")
        finally:
            page.close()
            site.stop()
    medians, painted, seen = ({name: statistics.median(m[i] for m in t[1:])
                               for name, t in times.items()} for i in range(3))
    native = native_power(native_build)
    print(f"navigation to 6.983: page {medians['page']:.1f} ms, yardstick "
          f"{medians['yardstick']:.1f} ms: {medians['page'] / medians['yardstick']:.2f}x "
          f"(goal <= 1.2x), median of {rounds}")
    print(f"navigation to 6.983 on screen: page {seen['page']:.1f} ms, yardstick "
          f"{seen['yardstick']:.1f} ms: {seen['page'] / seen['yardstick']:.2f}x")
    print(f"first paint: page {painted['page']:.1f} ms, yardstick {painted['yardstick']:.1f} "
          f"ms: {painted['page'] / painted['yardstick']:.2f}x")
    print(f"Power a call: WebAssembly {wasm:.0f} ns, native {native:.0f} ns: "
          f"{wasm / native:.2f}x (goal <= 2x)")
    print(f"the page's files: {size / 1000:.1f} kB (goal <= 120 kB); the module: "
          f"{module / 1000:.1f} kB (goal <= 70 kB)")


if __name__ == "__main__":
    main()
