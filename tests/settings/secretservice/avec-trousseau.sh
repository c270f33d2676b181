#!/usr/bin/env bash
# Runs a test program inside a D-Bus session of its own with an unlocked GNOME keyring in a
# throwaway home folder; without them the program runs with ARBRIX_TEST_KEYRING_SKIP set.
set -euo pipefail
for tool in dbus-run-session gnome-keyring-daemon; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        ARBRIX_TEST_KEYRING_SKIP="$tool is not installed (tools/install-deps.sh installs dbus and gnome-keyring)" exec "$@"
    fi
done
home=$(mktemp -d /tmp/arbrix-keyring.XXXXXX)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_DATA_HOME="$home/share"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
status=0
dbus-run-session -- bash -c 'printf "arbrix" | gnome-keyring-daemon --unlock --components=secrets >/dev/null && exec "$@"' \
    bash "$@" || status=$?
exit "$status"
