#!/usr/bin/env bash
# Prints a tape through a real CUPS queue and reads the paper back: a cups-pdf queue is the
# program's default printer, stopped while the preview's Print button sends the job, then started;
# the PDF's date and separator must stand at the printable corner. Then the queue rejects jobs,
# and the user must hear why. Usage: print-cups.sh BUILD_DIR [PRINT_PROGRAM]. Exit 0, 1, or 77 skipped.
set -uo pipefail
build=${1:?usage: print-cups.sh BUILD_DIR [PRINT_PROGRAM]}
program=${2:-$build/tests/e2e/print_through_cups}
queue=tallyroll-pdf
conf=/etc/cups/cups-pdf-tallyroll.conf # cups-pdf's settings for the URI cups-pdf:/tallyroll
backend=/usr/lib/cups/backend/cups-pdf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
export LC_MESSAGES=C LANGUAGE=C # lpstat and the queue's reasons are read in English
[ -n "${LC_ALL:-}" ] && export LC_CTYPE="$LC_ALL" && unset LC_ALL

[ "$(id -u)" -eq 0 ] || skip "needs root to run cupsd and add a queue"
for tool in /usr/sbin/cupsd lpadmin lpstat cupsdisable cupsenable cupsreject pdftotext pdfinfo pdftoppm flock; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh installs cups, printer-driver-cups-pdf, poppler-utils)"
done
[ -e "$backend" ] && [ -r "$ppd" ] || skip "the cups-pdf backend or its ppd is missing (printer-driver-cups-pdf)"
[ -x "$program" ] || fail "the print program $program is not built"
exec 9>/tmp/tallyroll-e2e-cups.lock # the queue and the settings file are machine-wide: one run at a time
flock -w 100 9 || fail "another print test holds /tmp/tallyroll-e2e-cups.lock"

work=$(mktemp -d /tmp/tallyroll-e2e-cups.XXXXXX) && chmod 0755 "$work"
cupsd_pid="" backend_mode=$(stat -c %a "$backend")
cleanup() {
  lpadmin -x "$queue" 2>/dev/null
  rm -f "$conf"
  chmod "$backend_mode" "$backend"
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM # a CTest timeout still removes the queue and stops cupsd
chmod 0700 "$backend" # cupsd runs a backend as root only when no one else may run it; cups-pdf needs root

running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! running; then # a running scheduler is used and left running
  mkdir -p /run/cups
  /usr/sbin/cupsd -f >"$work/cupsd.log" 2>&1 9>&- & # without the lock: it must not outlive us holding it
  cupsd_pid=$!
  for _ in $(seq 300); do running && break; kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
  running || { cat "$work/cupsd.log"; skip "cupsd cannot be started here (its log above)"; }
fi

printf 'Out %s\nAnonDirName %s\nLabel 1\n' "$work/pdf" "$work/pdf" >"$conf"
# Qt's PDF reaches cups-pdf as PostScript; pdftocairo (not Ghostscript) keeps its text readable.
lpadmin -p "$queue" -v cups-pdf:/tallyroll -E -P "$ppd" -o pdftops-renderer-default=pdftocairo 2>"$work/lpadmin.log" \
  || fail "lpadmin could not add the queue: $(cat "$work/lpadmin.log")"
run() { (cd "$build" && LPDEST=$queue QT_QPA_PLATFORM=offscreen "$program" "$@"); } # LPDEST: the program's default only

status=0
check() { if "${@:2}"; then echo "ok: $1"; else echo "not ok: $1"; status=1; fi; }
cupsdisable "$queue"
check "a stopped queue holds the job: printed" run
cupsenable "$queue"
for _ in $(seq 300); do # cups-pdf writes in place: wait until the queue is done with the job
  pdf=$(find "$work/pdf" -name '*.pdf' -size +0 2>/dev/null | head -n 1)
  [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
  pdf="" && sleep 0.1
done
[ -n "$pdf" ] || { lpstat -l -p "$queue"; tail -n 20 /var/log/cups/error_log; fail "no PDF appeared within 30 s"; }

# The A4 queue prints on the whole sheet: the printable corner is the sheet's own.
bbox=$(pdftotext -f 1 -l 1 -bbox "$pdf" -)
date_at() { grep -m1 -E '>[0-9]{2}-[0-9]{2}-[0-9]{4}<' <<<"$bbox" | sed -E "s/.*$1=\"([0-9.]+)\".*/\\1/"; }
near() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && a - b <= 2 && b - a <= 2) }'; } # points
# The darkest of 9 dots at 600 dpi across the separator's place, 4 inches in, $1 dots down.
dot() { pdftoppm -f 1 -l 1 -r 600 -gray -x 2396 -y "$1" -W 9 -H 1 "$pdf" | tail -c 9 | od -An -tu1 -v |
  awk '{ for (i = 1; i <= NF; i++) if (m == "" || $i < m) m = $i } END { print m }'; }
check "two sheets for 125 lines" test "$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')" = 2
check "the date at the printable corner" near "$(date_at xMin)" 0
check "the date at the top" near "$(date_at yMin)" 0
check "the separator 4 inches in, down to 11 inches" test "$(dot 600)" -lt 128 -a "$(dot 6590)" -lt 128 -a "$(dot 6700)" -ge 128
check "line 121 opens sheet 2" grep -qE '^121 # ' <(pdftotext -f 2 -l 2 -layout "$pdf" - | sed 's/^ *//')

cupsreject "$queue"
told=$(run refused)
check "a rejected job is told, the preview stays open" test $? -eq 0
check "the queue's reason is told" grep -qi "accept" <<<"$told"
[ "$status" -eq 0 ] || { echo "--- sheet 1"; pdftotext -f 1 -l 1 -layout "$pdf" - | head -n 5; echo "$told"; }
exit "$status"
