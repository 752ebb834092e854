#!/usr/bin/env bash
# Prints a tape through a real CUPS queue and reads the paper back: a cups-pdf queue is made the
# default printer, the preview's Print button prints on it, and pdftotext checks the PDF and where
# its texts stand. Then the queue rejects jobs, and the user must hear so.
# Usage: print-cups.sh BUILD_DIR [PRINT_PROGRAM]. Exit 0 pass, 1 fail, 77 skipped.
set -uo pipefail

build=${1:?usage: print-cups.sh BUILD_DIR [PRINT_PROGRAM]}
program=${2:-$build/tests/e2e/print_through_cups}
queue=tallyroll-pdf
instance=tallyroll # cups-pdf reads /etc/cups/cups-pdf-<instance>.conf for the URI cups-pdf:/<instance>
instance_conf=/etc/cups/cups-pdf-$instance.conf
backend=/usr/lib/cups/backend/cups-pdf

skip() { echo "SKIP: $*"; exit 77; }
# The suite may run under another language; lpstat's answers are read in English.
export LC_MESSAGES=C LANGUAGE=C
[ -n "${LC_ALL:-}" ] && export LC_CTYPE="$LC_ALL" && unset LC_ALL
fail() { echo "FAIL: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "needs root to run cupsd and add a queue"
for tool in /usr/sbin/cupsd lpadmin lpstat cupsdisable cupsenable cupsreject pdftotext pdfinfo flock; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh installs cups, printer-driver-cups-pdf, poppler-utils)"
done
[ -e "$backend" ] || skip "the cups-pdf backend is missing (package printer-driver-cups-pdf)"
ppd=""
for p in /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd; do
  [ -r "$p" ] && { ppd=$p; break; }
done
[ -n "$ppd" ] || skip "no CUPS-PDF ppd under /usr/share/ppd/cups-pdf"
[ -x "$program" ] || fail "the print program $program is not built"

# One run at a time: the queue and the instance file are machine-wide.
exec 9>/tmp/tallyroll-e2e-cups.lock
flock -w 100 9 || fail "another print test holds /tmp/tallyroll-e2e-cups.lock"

work=$(mktemp -d /tmp/tallyroll-e2e-cups.XXXXXX)
chmod 0755 "$work"
out=$work/pdf
started_pid=""
backend_mode=""

cleanup() {
  lpadmin -x "$queue" 2>/dev/null
  rm -f "$instance_conf"
  [ -n "$backend_mode" ] && chmod "$backend_mode" "$backend"
  if [ -n "$started_pid" ]; then
    kill "$started_pid" 2>/dev/null
    wait "$started_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM # a CTest timeout still removes the queue and stops cupsd

# cupsd runs a backend as root only when no one else may execute it; cups-pdf needs root to write
# the PDF as the job's owner.
mode=$(stat -c %a "$backend")
if [ "$mode" != 700 ]; then
  backend_mode=$mode
  chmod 0700 "$backend"
fi

# A scheduler that already runs is used as it is and left running.
if lpstat -r 2>/dev/null | grep -q 'is running'; then
  echo "using the running CUPS scheduler"
else
  mkdir -p /run/cups
  /usr/sbin/cupsd -f >"$work/cupsd.log" 2>&1 9>&- & # without the lock: it must not outlive us holding it
  started_pid=$!
  for _ in $(seq 300); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    kill -0 "$started_pid" 2>/dev/null || fail "cupsd ended at once: $(cat "$work/cupsd.log")"
    sleep 0.1
  done
  # A scheduler that cannot be brought up here says nothing about our printing: skip, loudly.
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    echo "skipped: cupsd did not answer within 30 s; its log:" >&2
    cat "$work/cupsd.log" >&2
    exit 77
  fi
  echo "started cupsd ($started_pid)"
fi

# This queue's own cups-pdf settings: the PDF lands in our directory under a predictable name.
cat >"$instance_conf" <<EOF
Out $out
AnonDirName $out
Label 1
EOF
# The PDF from Qt reaches cups-pdf as PostScript. Ghostscript's conversion (the default) names the
# glyphs so that pdftotext reads them as dingbats; pdftocairo keeps the text readable.
lpadmin -p "$queue" -v "cups-pdf:/$instance" -E -P "$ppd" -o pdftops-renderer-default=pdftocairo 2>"$work/lpadmin.log" \
  || fail "lpadmin could not add the queue: $(cat "$work/lpadmin.log")"
lpstat -p "$queue" >/dev/null 2>&1 || fail "the queue $queue is not there after lpadmin"

# The default printer for the program only (CUPS honours LPDEST), so a real default stays as it is.
run() { (cd "$build" && LPDEST=$queue QT_QPA_PLATFORM=offscreen "$program" "$queue" "$@"); }
date_before=$(date +%m-%d-%Y)
# A stopped queue still takes the job and holds it: that is success. Started again, it prints it.
cupsdisable "$queue"
run || fail "the print program failed"
cupsenable "$queue"
date_after=$(date +%m-%d-%Y)

pdf=""
for _ in $(seq 300); do
  pdf=$(find "$out" -name '*.pdf' -size +0 2>/dev/null | head -n 1)
  # cups-pdf writes the file in place: wait until the job is done with it.
  if [ -n "$pdf" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then break; fi
  pdf=""
  if lpstat -p "$queue" 2>/dev/null | grep -q disabled; then break; fi
  sleep 0.1
done
if [ -z "$pdf" ]; then
  echo "--- queue"; lpstat -l -p "$queue" 2>&1; lpstat -W all -o 2>&1 | tail -n 5
  echo "--- cups-pdf log"; tail -n 20 "/var/log/cups/cups-pdf-${queue}_log" /var/log/cups/cups-pdf_log 2>/dev/null
  echo "--- cupsd error log"; tail -n 30 /var/log/cups/error_log 2>/dev/null
  fail "no PDF appeared in $out within 30 s"
fi
echo "printed: $pdf"

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
# The A4 queue's printable area is the whole sheet, so positions count from the sheet's corner:
# the date stands there, and the right half's line numbers end 2736/600 inch (328.32 pt) in.
bbox=$(pdftotext -f 1 -l 1 -bbox "$pdf" -)
attr() { grep -m1 -E "$2" <<<"$bbox" | sed -E "s/.*$1=\"([0-9.]+)\".*/\\1/"; } # of the first word matching
# Value, target, tolerance (1 pt unless given): a word's box top lies a little below its ascent line.
near() { [ -n "$1" ] && awk -v a="$1" -v b="$2" -v d="${3:-1}" 'BEGIN { exit !(a - b <= d && b - a <= d) }'; }
page1=$(pdftotext -f 1 -l 1 "$pdf" -)
page2=$(pdftotext -f 2 -l 2 "$pdf" -)

status=0
check() { # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "not ok: $what"; status=1; fi
}
has() { grep -qF -- "$2" <<<"$1"; }
has_date() { has "$1" "$date_before" || has "$1" "$date_after"; }

check "two sheets for 125 lines" test "$pages" = 2
check "line 1 on sheet 1" grep -qE '(^|[^0-9,.])1 #' <<<"$page1"
check "line 120 on sheet 1" has "$page1" "120 #"
check "12.5 + printed with two decimals" has "$page1" "12.50 +"
check "subtotals with two decimals" has "$page1" "3,630.00 ="
check "line 121 on sheet 2" has "$page2" "121 #"
check "line 125 on sheet 2" has "$page2" "125 #"
check "line 120 not on sheet 2" bash -c '! grep -qF "120 #" <<<"$1"' _ "$page2"
check "the date on sheet 1" has_date "$page1"
check "the date at the printable corner" near "$(attr xMin '>[0-9]{2}-[0-9]{2}-[0-9]{4}<')" 0
check "the date at the top" near "$(attr yMin '>[0-9]{2}-[0-9]{2}-[0-9]{4}<')" 0 2
check "line numbers end 328.32 pt in" near "$(attr xMax 'xMin="3[0-2][0-9][.0-9]*"[^>]*>#<')" 328.32
check "no date on sheet 2" bash -c '! grep -qE "[0-9]{2}-[0-9]{2}-[0-9]{4}" <<<"$1"' _ "$page2"

# A queue that rejects jobs: the user is told, and the preview stays open for another try.
cupsreject "$queue"
check "a rejected job is told" run refused

if [ "$status" -ne 0 ]; then
  echo "--- sheet 1"; echo "$page1" | head -n 40; grep -m3 word <<<"$bbox"
  echo "--- sheet 2"; echo "$page2"
fi
exit "$status"
