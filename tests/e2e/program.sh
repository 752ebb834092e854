#!/usr/bin/env bash
# The real program in a private Xvfb, driven by xdotool: keys a tape, saves it and opens it again
# through the real file dialog (bytes checked); as root it prints through a real cups-pdf queue:
# held by a stopped queue, the tape in the PDF, a rejected job told with the preview left open.
# Usage: program.sh BUILD_DIR. Exit 0 pass, 1 fail, 77 skipped (the reason is printed).
build=${1:?usage: program.sh BUILD_DIR}
source "$(dirname "$0")/session.sh"
begin xprop
queue=tallyroll-pdf conf=/etc/cups/cups-pdf-tallyroll.conf backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd cupsd= backend_mode=
export LPDEST=$queue # the program's default printer only, once the queue is there
start app
# A task bar finds the window's icon in the sizes it draws.
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "_NET_WM_ICON holds no 32 x 32 icon"

# file_dialog MNEMONIC TITLE PATH: the path typed into the dialog's name field (it has the focus), Return.
file_dialog() {
    menu "$win" alt+f "$1" # the File menu: "s" in the entry box would store, "o" exit
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$2\$" 2>/dev/null | head -1)
    [ -n "$dialog" ] || fail "File menu key $1 showed no dialog \"$2\""
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    sleep 0.2
    xdotool type --delay 10 -- "$3"
    sleep 0.3 # the name field's completer settles
    xdotool key Return
    wait_for 100 window_gone "$dialog" || fail "the file dialog did not close after Return"
    sleep 0.5 # keys sent while the closing dialog still holds the keyboard are lost
}

# 12.5 is line 1 (its own subtotal, no operator); then x3, -4, /2.
keys "$win" '12.5+3*4-2/'
file_dialog s 'Save As' "$tmp/saved tape.cal"
bytes='"12.5  ","12.5"\r\n"3 x","37.5"\r\n"4 -","33.5"\r\n"2 /","16.75"\r\n'
cmp <(printf "$bytes") "$tmp/saved tape.cal" >&2 || fail "Save As did not write the tape's bytes"

# "c" clears the tape; Open brings it back, and saved again it gives the same bytes.
keys "$win" c
file_dialog o 'Open' "$tmp/saved tape.cal"
file_dialog s 'Save As' "$tmp/out.cal"
cmp <(printf "$bytes") "$tmp/out.cal" >&2 || fail "the tape opened and saved again differs"

# Printing needs root (cupsd, a queue) and cups-pdf; without them the rest has run, and says so.
no_print() { log "passed; printing skipped: $*" && exit 0; }
[ "$(id -u)" -eq 0 ] || no_print "needs root to run cupsd and add a queue"
for tool in /usr/sbin/cupsd lpadmin lpstat cupsdisable cupsenable cupsreject pdftotext; do
    command -v "$tool" >/dev/null || no_print "$tool is missing (scripts/install-deps.sh)"
done
[ -e "$backend" ] && [ -r "$ppd" ] || no_print "cups-pdf is missing (printer-driver-cups-pdf)"
exec 9>/tmp/tallyroll-e2e-cups.lock # the queue and its settings are machine-wide: one run at a time
flock -w 100 9 || fail "another run holds /tmp/tallyroll-e2e-cups.lock"
backend_mode=$(stat -c %a "$backend")
tidy() {
    lpadmin -x "$queue" 2>/dev/null
    rm -f "$conf"
    chmod "$backend_mode" "$backend"
    [ -n "$cupsd" ] && kill "$cupsd" 2>/dev/null && wait "$cupsd" 2>/dev/null
}
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; }
chmod 0700 "$backend" # cupsd runs a backend as root only when no one else may; cups-pdf needs root
if ! running; then    # a running scheduler is used and left running
    mkdir -p /run/cups
    /usr/sbin/cupsd -f >"$tmp/cupsd.log" 2>&1 9>&- &
    cupsd=$!
    wait_for 300 running || no_print "cupsd cannot be started here: $(tail -n 3 "$tmp/cupsd.log")"
fi
mkdir -m 777 "$tmp/pdf"
printf 'Out %s\nAnonDirName %s\nLabel 1\n' "$tmp/pdf" "$tmp/pdf" >"$conf"
# Qt's PDF reaches cups-pdf as PostScript; pdftocairo (not Ghostscript) keeps its text readable.
lpadmin -p "$queue" -v cups-pdf:/tallyroll -E -P "$ppd" -o pdftops-renderer-default=pdftocairo ||
    fail "lpadmin could not add the queue"

# print_tape: File > Print, then the preview's Print button (2190, 6930 twips in the preview).
print_tape() {
    menu "$win" alt+f p
    preview=$(timeout 10 xdotool search --sync --onlyvisible --name '^Print Preview$' 2>/dev/null | head -1)
    [ -n "$preview" ] || fail "File > Print showed no preview"
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$preview")"
    xdotool mousemove --sync $((X + (2190 + 1515 / 2) / 15)) $((Y + (6930 + 375 / 2) / 15)) click 1
}
cupsdisable "$queue" # a stopped queue takes the job and holds it: that is success
print_tape
wait_for 100 window_gone "$preview" || fail "the preview stayed open after printing on a stopped queue"
cupsenable "$queue"
# cups-pdf writes in place: the PDF is done when the queue is empty.
done_pdf() {
    pdf=$(find "$tmp/pdf" -name '*.pdf' -size +0 | head -n 1)
    [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue")" ]
}
wait_for 300 done_pdf || fail "no PDF appeared within 30 s"
grep -qE '^ *4 # +2\.00 / +16\.75 =' <(pdftotext -layout "$pdf" -) || fail "the printed tape lacks line 4"
# A queue that rejects jobs: the user is told (a second "Print Preview" window, the message) and
# the preview stays open for another try.
previews() { [ "$(xdotool search --onlyvisible --name '^Print Preview$' | wc -l)" = "$1" ]; }
cupsreject "$queue"
print_tape
wait_for 100 previews 2 || fail "a rejected job was not told"
xdotool key Return
wait_for 50 previews 1 || fail "the message did not close"
log "passed; printed through CUPS: $pdf"
