#!/usr/bin/env bash
# The page: builds ${WEB_DIR:-build-web}/, static files only (the module built with clang-19 in
# ${WASM_BUILD_DIR:-build-wasm}/), installing what is missing. With `serve`, then serves it on
# 127.0.0.1 (port ${PORT:-8000}) and prints the address.
set -euo pipefail
cd "$(dirname "$0")/.."
wasm_dir=${WASM_BUILD_DIR:-build-wasm}
web_dir=${WEB_DIR:-build-web}
scripts/setup.sh web
generator=()
[ -f "$wasm_dir/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S . -B "$wasm_dir" "${generator[@]}" -DCMAKE_TOOLCHAIN_FILE=scripts/wasm32-wasi.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$wasm_dir" --target web_site --parallel "$(nproc)"
rm -rf "$web_dir"
cp -r "$wasm_dir/window/web/site" "$web_dir"
echo "$web_dir: $(du -cb "$web_dir"/* | tail -1 | cut -f1) bytes"
if [ "${1:-}" = serve ]; then
    port=${PORT:-8000}
    echo "Serving $web_dir on http://127.0.0.1:$port/ (Ctrl+C stops)"
    exec python3 -m http.server --bind 127.0.0.1 --directory "$web_dir" "$port"
fi
