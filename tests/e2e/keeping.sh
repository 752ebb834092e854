#!/usr/bin/env bash
# The kept tape, with the real program in a private Xvfb driven by xdotool: keys lines, ends the
# program each way, starts it again and takes the tape back through the tape menu, so each run's
# tape holds every run's lines; two programs at once keep two files, and a running one is never
# offered; hostile state folders neither crash nor hang it, nor get followed. Usage: keeping.sh
# BUILD_DIR. Exit 0 pass, 1 fail, 77 skipped (the reason is printed).
build=${1:?usage: keeping.sh BUILD_DIR}
source "$(dirname "$0")/session.sh"
begin
kept=$XDG_STATE_HOME/tallyroll
tidy() { chattr -i "$kept" 2>/dev/null; umount "$kept" 2>/dev/null; }

# The bytes of the tape file that lines 1..$1 make, line n keyed as "n+".
tape() {
    for ((n = 1; n <= $1; n++)); do
        printf '"%s","%s"\r\n' "$n $([ $n = 1 ] && echo ' ' || echo +)" $((n * (n + 1) / 2))
    done
}
kept_is() { cmp -s <(tape "$1") "$kept"/tape-*-"$2".cal; }

# Every ending, with the status it leaves. A kill that no program can catch comes once the keys have
# settled; the others come at once and are kept by the program's own end.
n=0
for ending in TERM:0 HUP:0 INT:0 KILL:137:settled SEGV:139:settled ABRT:134:settled; do
    IFS=: read -r signal status settled <<<"$ending"
    n=$((n + 1)) && start "run$n"
    ((n > 1)) && menu "$win" tape e 1 # Earlier Tapes, the newest: the run before
    keys "$win" "$n+"
    [ -z "$settled" ] || wait_for 30 kept_is $n "$app"
    sleep 0.15 && kill -s "$signal" "$app" && ended "$app" "$status"
    kept_is $n "$app" || fail "after SIG$signal the kept tape lacks lines: $(cat "$kept"/tape-*-"$app".cal)"
done

# Two programs at once: each keeps its own file; the newest ended session is offered, not a running one.
start both-a && a=$app wa=$win
start both-b && b=$app && xdotool windowmove --sync "$win" 600 520
keys "$win" 1+ && keys "$wa" 1+2+
wait_for 30 kept_is 1 "$b" && wait_for 30 kept_is 2 "$a" || fail "two programs did not keep two files"
menu "$wa" tape e 1
wait_for 30 kept_is 6 "$a" || fail "the session offered was not the newest ended one"
kill "$a" "$b" && ended "$a" 0 && ended "$b" 0
kept_is 1 "$b" || fail "one program wrote the other's tape"

# Hostile state folders: what is planted, and whether keeping fails (the user is told, and Exit asks).
# What the folder holds and its mode are the core tests' part; here the program's own file and writes.
plant_links() {
    for s in 0 1 2 3; do
        ln -s "$tmp/victim" "$kept/tape-$(date -d "+$s sec" +%Y-%m-%d-%H%M%S)-$app.cal"
    done
}
tape 2 >"$tmp/victim"
full_disk() { mount -t tmpfs -o size=4k,mode=700 tmpfs "$kept" && cat /dev/zero >"$kept/fill"; }
for row in "link:mkdir -m 700 $kept:plant_links:" "unwritable folder:mkdir -m 700 $kept && chattr +i $kept::fails" \
    "full disk:mkdir $kept && full_disk::fails"; do
    IFS=: read -r name setup after fails <<<"$row"
    rm -rf "$XDG_STATE_HOME" && mkdir "$XDG_STATE_HOME"
    eval "$setup" 2>/dev/null || [ -e "$kept/fill" ] || { log "$name: skipped (needs root)" && continue; }
    start "$name" && $after
    menu "$win" tape Escape
    keys "$win" 5+
    [ -z "$fails" ] || { wait_for 30 other_window && xdotool key Return && sleep 0.5; } ||
        fail "$name: the failure was not told"
    keys "$win" o
    [ -z "$fails" ] || { wait_for 30 other_window && xdotool key x; } || fail "$name: Exit did not ask"
    ended "$app" 0
    cmp -s <(tape 2) "$tmp/victim" || fail "$name: a link was followed"
    [ -z "$fails" ] || grep -q "could not be kept" "$tmp/$name.log" || fail "$name: not said on standard error"
    tidy
done
log "passed"
