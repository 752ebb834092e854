#!/usr/bin/env bash
# The real program in a private Xvfb, driven by xdotool: keys a tape, saves it through File >
# Save As and the real Qt file dialog, clears it, opens it again through File > Open, corrects a
# past line by clicking its entry cell, and saves again. Both files' bytes are checked.
# Usage: e2e.sh BUILD_DIR. Exit 0 pass, 1 fail, 77 skipped (the reason is printed).
set -u
build=${1:?usage: e2e.sh BUILD_DIR}

log() { printf 'e2e: %s\n' "$*" >&2; }
skip() { log "skipped: $*"; exit 77; }

for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
program="$(cd "$build" 2>/dev/null && pwd)/tallyroll"
[ -x "$program" ] || { log "FAIL: $program is not built"; exit 1; }

tmp=$(mktemp -d /tmp/tallyroll-e2e.XXXXXX)
app= xvfb= display= win= dialog=

# A failure leaves a screenshot and the program's output in the temp dir, which then stays.
fail() {
    log "FAIL: $*"
    [ -n "$display" ] && import -display "$display" -window root "$tmp/failure.png" 2>/dev/null &&
        log "screenshot: $tmp/failure.png"
    [ -s "$tmp/app.log" ] && { log "program output:"; sed 's/^/  /' "$tmp/app.log" >&2; }
    keep=1
    exit 1
}
cleanup() {
    for pid in $app $xvfb; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    [ -z "${keep:-}" ] && rm -rf "$tmp"
    return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Waits up to $1 tenths of a second for the command in the remaining arguments to succeed.
wait_for() {
    local tenths=$1 i
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb on the first free display from :70 up. Another test may take the same number between the
# check and the start, and that server answers too: the display is ours only when its lock file
# names our server.
for ((n = 70; n < 130; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$tmp/xvfb.log" 2>&1 &
    xvfb=$!
    ours() { kill -0 "$xvfb" && [ "$(tr -d ' \n' <"/tmp/.X$n-lock")" = "$xvfb" ] && xdpyinfo -display ":$n"; }
    wait_for 50 ours && { display=":$n"; break; }
    kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=
done
[ -n "$display" ] || fail "no Xvfb display could be started"
# The file dialog keeps its history under the config folder: keep it in the temp dir.
export DISPLAY=$display HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME

(cd "$tmp" && exec "$program") >"$tmp/app.log" 2>&1 &
app=$!
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Calculator 1\.5$' 2>/dev/null | head -1)
[ -n "$win" ] || fail "the window \"Calculator 1.5\" did not show"
# No window manager runs: give the window the keyboard ourselves.
xdotool windowfocus --sync "$win" || fail "could not focus the main window"

type_keys() { xdotool type --delay 25 -- "$1"; }
# With no dialog open and the pointer away from the window (no tool tip), the menu's pop-up is
# the program's only visible window besides the main one.
menu_shown() { xdotool search --onlyvisible --class tallyroll 2>/dev/null | grep -vqx "$win"; }
window_gone() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }

# file_dialog MNEMONIC TITLE PATH: File menu item by its access key, then the path typed into the
# dialog's name field (it has the focus) and Return.
file_dialog() {
    xdotool mousemove --sync 0 0
    xdotool windowfocus --sync "$win"
    menu_shown && fail "a window other than the main one is open before the menu"
    xdotool key alt+f
    # The letter must reach the menu, not the entry box, where "s" would store and "o" would exit.
    wait_for 50 menu_shown || fail "Alt+F opened no menu"
    xdotool key "$1"
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$2\$" 2>/dev/null | head -1)
    [ -n "$dialog" ] || fail "File menu key $1 showed no dialog \"$2\""
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    sleep 0.2
    xdotool type --delay 10 -- "$3"
    sleep 0.3 # the name field's completer settles
    xdotool key Return
    wait_for 100 window_gone "$dialog" || fail "the file dialog did not close after Return"
    # Keys sent while the closing dialog still holds the keyboard are lost: let it settle.
    sleep 0.5
    xdotool windowfocus --sync "$win" 2>/dev/null
    sleep 0.2
}

# expect_file FILE PRINTF_FORMAT: the file holds exactly these bytes.
expect_file() {
    wait_for 50 test -e "$1" || fail "$1 was not written"
    printf "$2" >"$tmp/expected.bytes"
    cmp -s "$tmp/expected.bytes" "$1" && return 0
    log "expected:"; od -c "$tmp/expected.bytes" >&2
    log "written:"; od -c "$1" >&2
    fail "$1 does not hold the expected bytes"
}

# 12.5 is line 1 (its own subtotal, no operator); then x3, -4, /2.
type_keys '12.5+3*4-2/'
file_dialog s 'Save As' "$tmp/saved tape.cal"
expect_file "$tmp/saved tape.cal" '"12.5  ","12.5"\r\n"3 x","37.5"\r\n"4 -","33.5"\r\n"2 /","16.75"\r\n'

# "c" clears the tape; Open brings it back with line 4 on the bottom row.
type_keys c
file_dialog o 'Open' "$tmp/saved tape.cal"

# Rows count from the bottom: line 2 is on row 2. Twips to pixels at 15 a pixel; the client area
# (7065 twips high) sits below the menu bar.
eval "$(xdotool getwindowgeometry --shell "$win")"
menubar=$((HEIGHT - (7065 + 7) / 15))
((menubar > 5 && menubar < 60)) || fail "window height $HEIGHT leaves no sensible menu bar ($menubar px)"
row=2
row_top=$((2700 - 300 * row)) # the bottom row alone is set apart, at 2730
xdotool mousemove --sync $((X + ((810 + 3765) / 2 + 7) / 15)) $((Y + menubar + (row_top + 140 + 7) / 15)) click 1
sleep 0.3
# The editor opens with the line's number selected: typing replaces it, "+" writes it back and
# every later subtotal is recomputed.
type_keys '7+'
sleep 0.2
file_dialog s 'Save As' "$tmp/out.cal"
expect_file "$tmp/out.cal" '"12.5  ","12.5"\r\n"7 +","19.5"\r\n"4 -","15.5"\r\n"2 /","7.75"\r\n'

# "o" in the entry box ends the program.
xdotool windowfocus --sync "$win" 2>/dev/null
type_keys o
wait_for 100 eval '! kill -0 "$app"' || fail "\"o\" did not end the program"
wait "$app"
rc=$?
app=
[ "$rc" -eq 0 ] || fail "the program ended with status $rc"
log "passed"
