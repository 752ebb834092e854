#!/usr/bin/env bash
# read_aloud.py in a private X server and a private D-Bus session with its own accessibility bus.
# Usage: read_aloud.sh BUILD_DIR. Exit 0 pass, 1 fail (a missing tool too), 77 skipped only when the
# accessibility bus cannot start here (the reason is printed).
set -u
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "read_aloud: skipped: $*" >&2; exit 77; }
for tool in xvfb-run xdotool dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "read_aloud: FAIL: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[ "${1:-}" = --inside ] || exec dbus-run-session -- "$0" --inside "$@"
shift
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    skip "the accessibility bus cannot start in this D-Bus session"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" /usr/bin/python3 "$here/read_aloud.py" "$1"
