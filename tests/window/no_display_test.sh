#!/usr/bin/env bash
# Without a usable display the program says so in one line and exits with status 1, no abort.
# Usage: no_display_test.sh QUORVANE_BINARY
set -uo pipefail
binary=$1
failed=0
for display in unset :97531; do
    if [ "$display" = unset ]; then
        output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$binary" 2>&1)
    else
        output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$binary" 2>&1)
    fi
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$status" -eq 1 ] && [ "$lines" -eq 1 ] && [[ "$output" == *"cannot open the display"* ]]; then
        echo "ok: DISPLAY $display: $output"
    else
        echo "FAILED: DISPLAY $display: status $status, output:"
        printf '%s\n' "$output"
        failed=1
    fi
done
exit "$failed"
