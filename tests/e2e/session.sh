# Shared by the end-to-end scripts (sourced, the build folder in $build): messages, waiting, and the
# real program in a private Xvfb with a home of its own in a temp folder, which a failure leaves.
set -u
log() { printf '%s: %s\n' "${0##*/}" "$*" >&2; }
skip() { log "skipped: $*"; exit 77; }
tmp= pids=

# A failure leaves a screenshot and the programs' output in the temp folder.
fail() {
    log "FAIL: $*"
    import -window root "$tmp/failure.png" 2>/dev/null && log "see $tmp/failure.png"
    tail -n 5 "$tmp"/*.log >&2
    keep=1
    exit 1
}
tidy() { :; } # what a script set up besides the programs, undone first
cleanup() {
    tidy
    for pid in $pids; do kill -9 "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    [ -z "${keep:-}" ] && rm -rf "$tmp"
    return 0
}

# Waits up to $1 tenths of a second for the command in the remaining arguments to succeed.
wait_for() {
    local i
    for ((i = 0; i < $1; i++)); do "${@:2}" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# begin TOOLS...: skips when a tool is missing; runs the script again in a private X server (from
# :70 up, so as to meet no other test's), and there makes the temp folder and the home.
begin() {
    for tool in xvfb-run xdotool "$@"; do
        command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh)"
    done
    local server="-screen 0 1280x1024x24 -nolisten tcp -noreset"
    [ -n "${TALLYROLL_E2E_X:-}" ] || TALLYROLL_E2E_X=1 exec xvfb-run -a -n 70 -s "$server" bash "$0" "$build"
    program="$(cd "$build" 2>/dev/null && pwd)/tallyroll"
    [ -x "$program" ] || { log "FAIL: $program is not built"; exit 1; }
    tmp=$(mktemp -d "/tmp/tallyroll-$(basename "$0" .sh).XXXXXX")
    trap cleanup EXIT
    trap 'exit 1' INT TERM
    # The file dialog keeps its history under the config folder, the program its tape under state.
    export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_STATE_HOME=$tmp/state XDG_RUNTIME_DIR=$tmp/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME
}

# start NAME: a program, its window in $win, its pid in $app, its output in NAME.log.
start() {
    (cd "$tmp" && exec "$program") >"$tmp/$1.log" 2>&1 &
    app=$!
    pids+=" $app"
    win=$(timeout 10 xdotool search --all --sync --onlyvisible --pid "$app" --name '^Calculator 1\.5$' | head -1)
    [ -n "$win" ] || fail "$1: the window \"Calculator 1.5\" did not show"
}
keys() { xdotool windowfocus --sync "$1" && xdotool type --delay 25 -- "$2"; }
# A visible window besides the main ones: a menu, a dialog or a message (pop-ups carry no pid).
other_window() {
    [ -n "$(comm -23 <(xdotool search --onlyvisible --class tallyroll | sort) \
        <(xdotool search --onlyvisible --name '^Calculator 1\.5$' | sort))" ]
}
# menu WINDOW HOW KEYS...: a menu of the window, opened by the key HOW or, for "tape", by a right click
# on the tape's bottom row; then the keys in it. The pointer starts away from the window (no tool tip).
menu() {
    xdotool windowfocus --sync "$1"
    xdotool mousemove --sync 0 0 # a move --sync to where the pointer already is would wait for ever
    if [ "$2" = tape ]; then
        eval "$(xdotool getwindowgeometry --shell "$1")"
        xdotool mousemove --sync $((X + 152)) $((Y + HEIGHT - 471 + 191)) click 3
    else
        xdotool key "$2"
    fi
    wait_for 50 other_window || fail "$2 showed no menu"
    for key in "${@:3}"; do xdotool key "$key" && sleep 0.2; done
}
window_gone() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }
# ended PID STATUS: the program ended with this status.
ended() {
    wait "$1"
    local s=$?
    [ $s = "$2" ] || fail "the program ended with status $s where $2 was due"
}
