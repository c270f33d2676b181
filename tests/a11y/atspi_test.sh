#!/usr/bin/env bash
# Runs atspi_test.py on its own X server and D-Bus session, with the accessibility bus and its
# registry started first, so that the program finds the bus as it would on a desktop.
#
#   atspi_test.sh ARBRIX DATA-DIR      (exit 77: a tool is missing, the test is skipped)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
launcher=/usr/libexec/at-spi-bus-launcher
# Debian's own interpreter: the bindings come from its package, not from another Python.
python=/usr/bin/python3
for tool in xvfb-run dbus-run-session "$python" "$launcher"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
"$python" -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed"; exit 77; }

if [ "${1:-}" != "--inside" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" --inside "$@"
fi
shift
# Under load the X server may still be coming up: wait for its socket, a few seconds at most.
for _ in $(seq 1 50); do
    [ -S "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
    sleep 0.1
done
"$launcher" --launch-immediately &
bus=$!
trap 'kill "$bus" 2>/dev/null || true' EXIT
# The registry answers once the bus is up: wait for its address, a few seconds at most.
for _ in $(seq 1 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done
"$python" "$here/atspi_test.py" "$@"
