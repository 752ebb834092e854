# Shared by the end-to-end scripts (sourced): messages, waiting, and a private Xvfb display.
log() { printf '%s: %s\n' "${0##*/}" "$*" >&2; }
skip() { log "skipped: $*"; exit 77; }

# Waits up to $1 tenths of a second for the command in the remaining arguments to succeed.
wait_for() {
    local i
    for ((i = 0; i < $1; i++)); do "${@:2}" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# Xvfb on the first free display from :70 up, its log in $1; sets display and xvfb (its pid), or
# returns 1. Another test may take the same number between the check and the start, and that
# server answers too: the display is ours only when its lock file names our server.
start_xvfb() {
    local n
    for ((n = 70; n < 130; n++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$1" 2>&1 &
        xvfb=$!
        ours() { kill -0 "$xvfb" && [ "$(tr -d ' \n' <"/tmp/.X$n-lock")" = "$xvfb" ] && xdpyinfo -display ":$n"; }
        wait_for 50 ours && { display=":$n"; return 0; }
        kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=
    done
    return 1
}
