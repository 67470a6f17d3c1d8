#!/usr/bin/env bash
# What the real binary says as it starts. Without a usable display: one line saying what Qt
# found, and status 1, no abort. With one: Qt's own messages, those held back during the start and those after it,
# reach stderr as from any Qt program.
# Usage: no_display_test.sh QUORVANE_BINARY
set -uo pipefail
binary=$1
failed=0
# The environment, and what the one line must say Qt found.
cases=(
    "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM|neither DISPLAY nor WAYLAND_DISPLAY is set"
    "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97531|could not connect to display :97531"
    "QT_QPA_PLATFORM=nosuchplugin|Could not find the Qt platform plugin \"nosuchplugin\""
)
for case in "${cases[@]}"; do
    environment=${case%%|*}
    expected="cannot open the display: ${case#*|}"
    # shellcheck disable=SC2086 # the environment is words for env
    output=$(env $environment "$binary" 2>&1)
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$status" -eq 1 ] && [ "$lines" -eq 1 ] && [[ "$output" == *"$expected"* ]]; then
        echo "ok: $environment: $output"
    else
        echo "FAILED: $environment: status $status, expected \"$expected\", output:"
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
