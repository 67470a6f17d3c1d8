#!/usr/bin/env bash
# What the real binary says as it starts. Without a usable display: one line saying so and status
# 1, no abort. With one: Qt's own messages, those held back during the start and those after it,
# reach stderr as from any Qt program.
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

# A message of the start (replayed once it succeeded), then one of the window's first showing.
output=$(QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.qpa.*=true' timeout 2 "$binary" 2>&1)
start='qt.qpa.plugin: Successfully loaded Qt platform plugin "offscreen"'
shown='qt.qpa.backingstore: '
if printf '%s\n' "$output" | grep -qF "$start" &&
    printf '%s\n' "$output" | sed -n "/$start/,\$p" | grep -q "^$shown"; then
    echo "ok: Qt's messages reach stderr"
else
    echo "FAILED: Qt's messages, expected \"$start\" and then \"$shown...\", got:"
    printf '%s\n' "$output"
    failed=1
fi
exit "$failed"
