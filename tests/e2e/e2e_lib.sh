# Shared by the end-to-end scripts: a private Xvfb, the real program in a temporary working
# directory, the real menus and the real Qt file dialog driven by xdotool.
# Source it, then call e2e_setup BUILD_DIR; every helper fails the test through e2e_fail.

E2E_SKIP=77

e2e_log() { printf 'e2e: %s\n' "$*" >&2; }

# Fails the test: a screenshot of the whole screen goes into the temp dir and its path is printed.
e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "${E2E_DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
        import -display "$E2E_DISPLAY" -window root "$E2E_TMP/failure.png" 2>/dev/null &&
            e2e_log "screenshot: $E2E_TMP/failure.png"
    fi
    [ -s "$E2E_TMP/app.log" ] && { e2e_log "program output:"; sed 's/^/  /' "$E2E_TMP/app.log" >&2; }
    E2E_KEEP=1
    exit 1
}

e2e_cleanup() {
    if [ -n "${E2E_APP:-}" ] && kill -0 "$E2E_APP" 2>/dev/null; then kill "$E2E_APP" 2>/dev/null; wait "$E2E_APP" 2>/dev/null; fi
    if [ -n "${E2E_XVFB:-}" ] && kill -0 "$E2E_XVFB" 2>/dev/null; then kill "$E2E_XVFB" 2>/dev/null; wait "$E2E_XVFB" 2>/dev/null; fi
    # The temp dir stays after a failure, for the screenshot.
    [ -z "${E2E_KEEP:-}" ] && [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
    return 0
}

# Waits up to $1 tenths of a second for the command in the remaining arguments to succeed.
e2e_wait() {
    local tenths=$1
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Starts Xvfb on the first free display from :70 upwards. Another test may take the same number
# between the lock check and the start; that server then fails and the next number is tried. The
# display counts as ours only when its lock file names our server, as the other one answers too.
e2e_start_xvfb() {
    local n
    for ((n = 70; n < 130; n++)); do
        [ -e "/tmp/.X$n-lock" ] && continue
        [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_XVFB=$!
        for ((i = 0; i < 50; i++)); do
            kill -0 "$E2E_XVFB" 2>/dev/null || break
            if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$E2E_XVFB" ] &&
                xdpyinfo -display ":$n" >/dev/null 2>&1; then
                E2E_DISPLAY=":$n"
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$E2E_XVFB" 2>/dev/null
        wait "$E2E_XVFB" 2>/dev/null
        E2E_XVFB=
    done
    e2e_fail "no Xvfb display could be started"
}

# e2e_setup BUILD_DIR: skips when the tools are missing, makes the temp dir, starts Xvfb.
e2e_setup() {
    local build=$1
    for tool in Xvfb xdotool xdpyinfo; do
        command -v "$tool" >/dev/null 2>&1 || { e2e_log "skipped: $tool is not installed"; exit $E2E_SKIP; }
    done
    E2E_PROGRAM="$(cd "$build" 2>/dev/null && pwd)/tallyroll"
    [ -x "$E2E_PROGRAM" ] || { e2e_log "FAIL: $E2E_PROGRAM is not built"; exit 1; }
    E2E_TMP=$(mktemp -d /tmp/tallyroll-e2e.XXXXXX)
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    # The file dialog keeps its history under the config folder: keep it in the temp dir.
    export HOME="$E2E_TMP" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME
    e2e_start_xvfb
}

# Starts the program in the temp dir and waits for its main window; E2E_WIN is its id.
e2e_start_program() {
    (cd "$E2E_TMP" && exec "$E2E_PROGRAM") >"$E2E_TMP/app.log" 2>&1 &
    E2E_APP=$!
    E2E_WIN=$(timeout 10 xdotool search --sync --onlyvisible --name '^Calculator 1\.5$' 2>/dev/null | head -1)
    [ -n "$E2E_WIN" ] || e2e_fail "the window \"Calculator 1.5\" did not show"
    # No window manager runs: give the window the keyboard focus ourselves.
    xdotool windowfocus --sync "$E2E_WIN" || e2e_fail "could not focus the main window"
}

# Types keys into the focused window, one key at a time so the event loop sees each.
e2e_type() { xdotool type --delay 25 -- "$1"; }

# Opens the File menu item whose mnemonic is $1 and waits for the dialog titled $2.
e2e_menu_dialog() {
    local mnemonic=$1 title=$2
    xdotool mousemove --sync 0 0
    xdotool windowfocus --sync "$E2E_WIN"
    e2e_menu_shown && e2e_fail "a window other than the main one is open before the menu"
    xdotool key alt+f
    # The letter must reach the menu, not the entry box, where "s" would store and "o" would exit.
    e2e_wait 50 e2e_menu_shown || e2e_fail "Alt+F opened no menu"
    xdotool key "$mnemonic"
    E2E_DIALOG=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
    [ -n "$E2E_DIALOG" ] || e2e_fail "File menu key $mnemonic showed no dialog \"$title\""
}

# In the open file dialog (Qt's own widget dialog, as there is no desktop to lend one) the file
# name field has the focus: type the full path and press Return, then wait for the dialog to go.
e2e_dialog_choose() {
    local path=$1
    xdotool windowfocus --sync "$E2E_DIALOG" 2>/dev/null
    sleep 0.2
    xdotool type --delay 10 -- "$path"
    sleep 0.3 # the name field's completer settles
    xdotool key Return
    e2e_wait 100 e2e_window_gone "$E2E_DIALOG" || e2e_fail "the file dialog did not close after Return"
    # Keys sent while the closing dialog still holds the keyboard are lost: let it settle.
    sleep 0.5
    xdotool windowfocus --sync "$E2E_WIN" 2>/dev/null
    sleep 0.2
}

# Whether the menu's pop-up is on the screen: with no dialog open and the pointer away from the
# window (no tool tip), it is the program's only visible window besides the main one. Its window
# type cannot tell it: here Qt typed only the first pop-up as a drop-down menu.
e2e_menu_shown() {
    xdotool search --onlyvisible --class tallyroll 2>/dev/null | grep -vqx "$E2E_WIN"
}

e2e_window_gone() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }

# Compares a file with the expected bytes given as printf's format; prints both on a mismatch.
e2e_expect_file() {
    local file=$1 expected=$2
    e2e_wait 50 test -e "$file" || e2e_fail "$file was not written"
    printf "$expected" >"$E2E_TMP/expected.bytes"
    if ! cmp "$E2E_TMP/expected.bytes" "$file"; then
        e2e_log "expected:"; od -c "$E2E_TMP/expected.bytes" >&2
        e2e_log "written:"; od -c "$file" >&2
        e2e_fail "$file does not hold the expected bytes"
    fi
}

# "o" in the entry box ends the program; it must be gone within a few seconds.
e2e_quit_program() {
    xdotool windowfocus --sync "$E2E_WIN" 2>/dev/null
    e2e_type o
    e2e_wait 100 e2e_program_gone || e2e_fail "\"o\" did not end the program"
    wait "$E2E_APP"
    local rc=$?
    E2E_APP=
    [ "$rc" -eq 0 ] || e2e_fail "the program ended with status $rc"
}

e2e_program_gone() { ! kill -0 "$E2E_APP" 2>/dev/null; }

# A screenshot of the final screen, kept only when the test fails later.
e2e_screenshot() {
    command -v import >/dev/null 2>&1 && import -window root "$E2E_TMP/$1.png" 2>/dev/null
    return 0
}
