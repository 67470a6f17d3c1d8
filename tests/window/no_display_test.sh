#!/usr/bin/env bash
# What the real binary says as it starts. Without a usable display: one line saying what Qt
# found, and status 1, no abort. With one: Qt's own messages, those held back during the start and those after it,
# reach stderr as from any Qt program.
# Usage: no_display_test.sh QUORVANE_BINARY
set -uo pipefail
binary=$1
failed=0
# The environment, what the last line must end with (a pattern: Qt's own wording, nothing
# left of it such as an empty ' in ""'), and a message held back during the start that must come
# before that line (none: the line is all).
cases=(
    "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM|neither DISPLAY nor WAYLAND_DISPLAY is set|"
    "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97531|could not connect to display :97531*|"
    "QT_QPA_PLATFORM=nosuchplugin|Could not find the Qt platform plugin \"nosuchplugin\"|"
    "-u WAYLAND_DISPLAY QT_LOGGING_RULES=qt.core.plugin.factoryloader.debug=true DISPLAY=:97531|could not connect to display :97531*|checking directory path"
)
for case in "${cases[@]}"; do
    IFS='|' read -r environment pattern held <<<"$case"
    # shellcheck disable=SC2086 # the environment is words for env
    output=$(env $environment "$binary" 2>&1)
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    last=$(printf '%s\n' "$output" | tail -n 1)
    if [ -z "$held" ]; then
        told=$([ "$lines" -eq 1 ] && echo yes)
    else
        told=$(printf '%s\n' "$output" | head -n -1 | grep -qF "$held" && echo yes)
    fi
    # shellcheck disable=SC2053 # the pattern is a pattern
    if [ "$status" -eq 1 ] && [ -n "$told" ] && [[ "$last" == *"cannot open the display: "$pattern ]]; then
        echo "ok: $environment: $last"
    else
        echo "FAILED: $environment: status $status, expected \"$pattern\" after \"${held:-nothing}\", output:"
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
