#!/usr/bin/env bash
# The kept tape, with the real program in a private Xvfb driven by xdotool: keys lines, ends the
# program each way, starts it again and takes the tape back through the tape menu, so each run's
# tape holds every run's lines; two programs at once keep two files, and a running one is never
# offered; hostile state folders neither crash nor hang it, nor get followed or left open.
# Usage: keeping.sh BUILD_DIR. Exit 0 pass, 1 fail, 77 skipped (the reason is printed).
set -u
build=${1:?usage: keeping.sh BUILD_DIR}
source "$(dirname "$0")/xserver.sh"
for tool in Xvfb xdotool xdpyinfo; do command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh)"; done
program="$(cd "$build" 2>/dev/null && pwd)/tallyroll"
[ -x "$program" ] || { log "FAIL: $program is not built"; exit 1; }

tmp=$(mktemp -d /tmp/tallyroll-keeping.XXXXXX)
xvfb= display= apps=
fail() {
    log "FAIL: $*"
    tail -n 5 "$tmp"/*.log >&2
    keep=1 && exit 1
}
cleanup() {
    for pid in $apps $xvfb; do kill -9 "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    chattr -i "$kept" 2>/dev/null; umount "$kept" 2>/dev/null
    [ -z "${keep:-}" ] && rm -rf "$tmp"
    return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM
start_xvfb "$tmp/xvfb.log" || fail "no Xvfb display could be started"
export DISPLAY=$display HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime XDG_STATE_HOME=$tmp/state
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME
kept=$XDG_STATE_HOME/tallyroll

# start NAME: a program, its window in $win, its pid in $app.
start() {
    (cd "$tmp" && exec "$program") >"$tmp/$1.log" 2>&1 &
    app=$! && apps+=" $app"
    win=$(timeout 10 xdotool search --all --sync --onlyvisible --pid "$app" --name '^Calculator 1\.5$' 2>/dev/null | head -1)
    [ -n "$win" ] || fail "$1: the window did not show"
}
keys() { xdotool windowfocus --sync "$1" && xdotool type --delay 25 -- "$2"; }
# A visible window besides the main ones: a menu or a message (pop-ups carry no process id).
other_window() {
    [ -n "$(comm -23 <(xdotool search --onlyvisible --class tallyroll | sort) \
        <(xdotool search --onlyvisible --name '^Calculator 1\.5$' | sort))" ]
}
# tape_menu WINDOW KEYS...: a right click on the tape's bottom row, then the keys in the menu.
tape_menu() {
    xdotool windowfocus --sync "$1"
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --sync 0 0 # a move --sync to where the pointer already is would wait for ever
    xdotool mousemove --sync $((X + 152)) $((Y + HEIGHT - 471 + 191)) click 3
    wait_for 50 other_window || fail "a right click on the tape showed no menu"
    for key in "${@:2}"; do xdotool key "$key" && sleep 0.2; done
}
# The bytes of the tape file that lines 1..$1 make, line n keyed as "n+".
tape() { for ((n = 1; n <= $1; n++)); do printf '"%s","%s"\r\n' "$n $([ $n = 1 ] && echo ' ' || echo +)" $((n * (n + 1) / 2)); done; }
kept_is() { cmp -s <(tape "$1") "$kept"/tape-*-"$2".cal; }
ended() { wait "$1"; local s=$?; [ $s = "$2" ] || fail "the program ended with status $s where $2 was due"; }

# Every ending, with the status it leaves. A kill that no program can catch comes once the keys have
# settled; the others come at once and are kept by the program's own end.
n=0
for ending in TERM:0 HUP:0 INT:0 KILL:137 SEGV:139 ABRT:134; do
    n=$((n + 1)) && start "run$n"
    ((n > 1)) && tape_menu "$win" e 1 # Earlier Tapes, the newest: the run before
    keys "$win" "$n+"
    [ "${ending%:*}" = TERM ] || [ "${ending%:*}" = HUP ] || [ "${ending%:*}" = INT ] || wait_for 30 kept_is $n "$app"
    sleep 0.15 && kill -s "${ending%:*}" "$app" && ended "$app" "${ending#*:}"
    kept_is $n "$app" || fail "after SIG${ending%:*} the kept tape lacks lines: $(cat "$kept"/tape-*-"$app".cal)"
done

# Two programs at once: each keeps its own file; the newest ended session is offered, not the
# newer one that still runs.
start both-a && a=$app wa=$win && start both-b && b=$app && xdotool windowmove --sync "$win" 600 520
keys "$win" 1+ && keys "$wa" 1+2+
wait_for 30 kept_is 1 "$b" && wait_for 30 kept_is 2 "$a" || fail "two programs did not keep two files"
tape_menu "$wa" e 1
wait_for 30 kept_is 6 "$a" || fail "the session offered was not the newest ended one"
kill "$a" "$b" && ended "$a" 0 && ended "$b" 0 && kept_is 1 "$b" || fail "one program wrote the other's tape"

# Hostile state folders: what is planted, the folder's mode after, and whether keeping fails (the
# user is told, and Exit asks).
plant_links() { for s in 0 1 2 3; do ln -s "$tmp/victim" "$kept/tape-$(date -d "+$s sec" +%Y-%m-%d-%H%M%S)-$app.cal"; done; }
tape 2 >"$tmp/victim"
# (What the folder holds and its mode are the core tests' part; here the program's own file and writes.)
for row in "link:mkdir -m 700 $kept:plant_links:700:" "file for a folder:touch $kept::644:fails" \
    "unwritable folder:mkdir -m 700 $kept && chattr +i $kept::700:fails" \
    "full disk:mkdir $kept && mount -t tmpfs -o size=4k,mode=700 tmpfs $kept && cat /dev/zero >$kept/fill::700:fails"; do
    IFS=: read -r name setup after mode fails <<<"$row"
    rm -rf "$XDG_STATE_HOME" && mkdir "$XDG_STATE_HOME" && umask 022
    eval "$setup" 2>/dev/null || [ -e "$kept/fill" ] || { log "$name: skipped (needs root)" && continue; }
    start "$name" && $after
    tape_menu "$win" Escape
    keys "$win" 5+
    [ -z "$fails" ] || { wait_for 30 other_window && xdotool key Return && sleep 0.5; } || fail "$name: the failure was not told"
    keys "$win" o
    [ -z "$fails" ] || { wait_for 30 other_window && xdotool key x; } || fail "$name: Exit did not ask"
    ended "$app" 0
    [ "$(stat -c %a "$kept")" = "$mode" ] || fail "$name: the folder is left $(stat -c %a "$kept")"
    cmp -s <(tape 2) "$tmp/victim" || fail "$name: a link was followed"
    [ -z "$fails" ] || grep -q "could not be kept" "$tmp/$name.log" || fail "$name: not said on standard error"
    chattr -i "$kept" 2>/dev/null; umount "$kept" 2>/dev/null
done
log "passed"
