#!/bin/sh
# Runs browser_test.py with a Python that has selenium and websocket (Debian's, not one first on
# PATH), or skips with a message where there is none.
for python in /usr/bin/python3 python3; do
    if "$python" -c "import selenium, websocket, Xlib" 2>/dev/null; then
        exec "$python" "$(dirname "$0")/browser_test.py" "$@"
    fi
done
echo "SKIP: no python3 with python3-selenium, python3-websocket and python3-xlib (scripts/setup.sh test)"
exit 77
