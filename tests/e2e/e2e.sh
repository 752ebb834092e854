#!/usr/bin/env bash
# The real program in a private Xvfb, driven by xdotool: keys a tape, saves it and opens it again
# through the real file dialog (bytes checked); as root it prints through a real cups-pdf queue:
# held by a stopped queue, the tape in the PDF, a rejected job told with the preview left open.
# Usage: e2e.sh BUILD_DIR. Exit 0 pass, 1 fail, 77 skipped (the reason is printed).
set -u
build=${1:?usage: e2e.sh BUILD_DIR}

source "$(dirname "$0")/xserver.sh"

for tool in Xvfb xdotool xdpyinfo xprop; do command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh)"; done
program="$(cd "$build" 2>/dev/null && pwd)/tallyroll"
[ -x "$program" ] || { log "FAIL: $program is not built"; exit 1; }

tmp=$(mktemp -d /tmp/tallyroll-e2e.XXXXXX)
app= xvfb= display= win= dialog=

# A failure leaves a screenshot and the program's output in the temp dir, which then stays.
fail() {
    log "FAIL: $*"
    [ -n "$display" ] && import -display "$display" -window root "$tmp/failure.png" 2>/dev/null && log "see $tmp/failure.png"
    [ -s "$tmp/app.log" ] && sed 's/^/  /' "$tmp/app.log" >&2
    keep=1 && exit 1
}
cleanup() {
    for pid in $app $xvfb; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    if [ -n "${backend_mode:-}" ]; then
        lpadmin -x "$queue" 2>/dev/null; rm -f "$conf"; chmod "$backend_mode" "$backend"
        [ -n "$cupsd" ] && kill "$cupsd" 2>/dev/null && wait "$cupsd" 2>/dev/null
    fi
    [ -z "${keep:-}" ] && rm -rf "$tmp"
    return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM

start_xvfb "$tmp/xvfb.log" || fail "no Xvfb display could be started"
# The file dialog keeps its history under the config folder: keep it in the temp dir.
export DISPLAY=$display HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME

# The printing part needs root (cupsd, a queue); without it the rest still runs, and says so.
queue=tallyroll-pdf conf=/etc/cups/cups-pdf-tallyroll.conf backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd cupsd= backend_mode= no_print=
[ "$(id -u)" -eq 0 ] || no_print="needs root to run cupsd and add a queue"
for tool in /usr/sbin/cupsd lpadmin lpstat cupsdisable cupsenable cupsreject pdftotext pdftoppm; do
    [ -z "$no_print" ] && ! command -v "$tool" >/dev/null && no_print="$tool is missing (scripts/install-deps.sh installs it)"
done
[ -z "$no_print" ] && { [ -e "$backend" ] && [ -r "$ppd" ] || no_print="cups-pdf is missing (printer-driver-cups-pdf)"; }
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; }
if [ -z "$no_print" ]; then
    exec 9>/tmp/tallyroll-e2e-cups.lock # the queue and its settings are machine-wide: one run at a time
    flock -w 100 9 || fail "another run holds /tmp/tallyroll-e2e-cups.lock"
    backend_mode=$(stat -c %a "$backend")
    chmod 0700 "$backend" # cupsd runs a backend as root only when no one else may; cups-pdf needs root
    if ! running; then    # a running scheduler is used and left running
        mkdir -p /run/cups
        /usr/sbin/cupsd -f >"$tmp/cupsd.log" 2>&1 9>&- &
        cupsd=$!
        wait_for 300 running || no_print="cupsd cannot be started here: $(tail -n 3 "$tmp/cupsd.log")"
    fi
fi
if [ -z "$no_print" ]; then
    mkdir -m 777 "$tmp/pdf"
    printf 'Out %s\nAnonDirName %s\nLabel 1\n' "$tmp/pdf" "$tmp/pdf" >"$conf"
    # Qt's PDF reaches cups-pdf as PostScript; pdftocairo (not Ghostscript) keeps its text readable.
    lpadmin -p "$queue" -v cups-pdf:/tallyroll -E -P "$ppd" -o pdftops-renderer-default=pdftocairo ||
        fail "lpadmin could not add the queue"
    export LPDEST=$queue # the program's default printer only
fi

(cd "$tmp" && exec "$program") >"$tmp/app.log" 2>&1 &
app=$!
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Calculator 1\.5$' 2>/dev/null | head -1)
[ -n "$win" ] || fail "the window \"Calculator 1.5\" did not show"
# A task bar finds the window's icon in the sizes it draws.
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "_NET_WM_ICON holds no 32 x 32 icon"
# No window manager runs: give the window the keyboard ourselves.
xdotool windowfocus --sync "$win" || fail "could not focus the main window"

type_keys() { xdotool type --delay 25 -- "$1"; }
# With no dialog open and the pointer away from the window (no tool tip), the menu's pop-up is
# the program's only visible window besides the main one.
menu_shown() { xdotool search --onlyvisible --class tallyroll 2>/dev/null | grep -vqx "$win"; }
window_gone() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }

# file_menu MNEMONIC: the File menu's item by its access key. The letter must reach the menu, not
# the entry box, where "s" would store and "o" would exit.
file_menu() {
    xdotool mousemove --sync 0 0
    xdotool windowfocus --sync "$win"
    menu_shown && fail "a window other than the main one is open before the menu"
    xdotool key alt+f
    wait_for 50 menu_shown || fail "Alt+F opened no menu"
    xdotool key "$1"
}

# file_dialog MNEMONIC TITLE PATH: the path typed into the dialog's name field (it has the focus), Return.
file_dialog() {
    file_menu "$1"
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
    od -c "$tmp/expected.bytes" >&2; od -c "$1" >&2
    fail "$1 does not hold the expected bytes (expected first)"
}

# 12.5 is line 1 (its own subtotal, no operator); then x3, -4, /2.
type_keys '12.5+3*4-2/'
file_dialog s 'Save As' "$tmp/saved tape.cal"
bytes='"12.5  ","12.5"\r\n"3 x","37.5"\r\n"4 -","33.5"\r\n"2 /","16.75"\r\n'
expect_file "$tmp/saved tape.cal" "$bytes"

# "c" clears the tape; Open brings it back, and saved again it gives the same bytes.
type_keys c
file_dialog o 'Open' "$tmp/saved tape.cal"
file_dialog s 'Save As' "$tmp/out.cal"
expect_file "$tmp/out.cal" "$bytes"

# print_tape: File > Print, then the preview's Print button (2190, 6930 twips in the preview).
previews() { xdotool search --onlyvisible --name '^Print Preview$' 2>/dev/null | wc -l; }
print_tape() {
    file_menu p
    preview=$(timeout 10 xdotool search --sync --onlyvisible --name '^Print Preview$' 2>/dev/null | head -1)
    [ -n "$preview" ] || fail "File > Print showed no preview"
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$preview")"
    xdotool mousemove --sync $((X + (2190 + 1515 / 2) / 15)) $((Y + (6930 + 375 / 2) / 15)) click 1
}
if [ -n "$no_print" ]; then
    log "printing skipped: $no_print"
else
    export LC_ALL=C
    cupsdisable "$queue" # a stopped queue takes the job and holds it: that is success
    print_tape
    wait_for 100 window_gone "$preview" || fail "the preview stayed open after printing on a stopped queue"
    cupsenable "$queue"
    # cups-pdf writes in place: the PDF is done when the queue is empty.
    done_pdf() { pdf=$(find "$tmp/pdf" -name '*.pdf' -size +0 | head -n 1); [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue")" ]; }
    wait_for 300 done_pdf || fail "no PDF appeared within 30 s"
    grep -qE '^ *4 # +2\.00 / +16\.75 =' <(pdftotext -layout "$pdf" -) || fail "the printed tape lacks line 4"
    # A queue that rejects jobs: the user is told (a second "Print Preview" window, the message)
    # and the preview stays open for another try.
    cupsreject "$queue"
    print_tape
    wait_for 100 eval '[ "$(previews)" -eq 2 ]' || fail "a rejected job was not told"
    xdotool key Return
    wait_for 50 eval '[ "$(previews)" -eq 1 ]' || fail "the message did not close"
    xdotool windowclose "$preview" 2>/dev/null || xdotool key Escape
    log "printed through CUPS: $pdf"
fi

# "o" in the entry box ends the program.
xdotool windowfocus --sync "$win" 2>/dev/null
type_keys o
wait_for 100 eval '! kill -0 "$app"' || fail "\"o\" did not end the program"
wait "$app" || fail "the program ended with status $?"
app= && log "passed"
