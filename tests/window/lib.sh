# Helpers for driving the built program in a real X window like a person does.
# Expects DISPLAY to name a running X server (xvfb-run gives one). Every wait has a time limit.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Tools are looked for where the system keeps them: root's (chroot, in /usr/sbin) also under a user's PATH,
# as Debian's plain su leaves it.
PATH=$PATH:/usr/local/sbin:/usr/sbin:/sbin
# Fails, naming them, unless every TOOL is there: a missing tool is not the program's fault.
needs() {
    local tool missing=()
    for tool; do command -v "$tool" >/dev/null || missing+=("$tool"); done
    ((${#missing[@]} == 0)) || fail "missing tools: ${missing[*]} (scripts/setup test installs them)"
}

# Fails unless WHAT, found ACTUAL, is EXPECTED.
expect() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }

# The number of characters in TEXT (keys hold ä, ö, ü, ß), whatever the locale: not its bytes.
characters() { printf '%s' "$1" | LC_ALL=C.UTF-8 wc -m; }

# The logs of the window manager and the program, removed with everything else by stop_everything.
LOGS=$(mktemp -d)
WM_LOG="$LOGS/window-manager.log"
APP_LOG="$LOGS/program.log"

# Runs COMMAND, ending it after 10 seconds: a window that never answers (X selection requests, activation)
# must not stop the test for good.
bounded() { timeout 10 "$@"; }

# Runs CONDITION (a command) until it succeeds or SECONDS pass.
wait_until() {
    local seconds=$1; shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# As wait_until, but while the program (APP_PID) runs: when it ends, fails at once with its output.
holds_or_ended() { "$@" || ! kill -0 "$APP_PID" 2>/dev/null; }
wait_while_running() {
    local seconds=$1; shift
    wait_until "$seconds" holds_or_ended "$@" || return 1
    "$@" >/dev/null 2>&1 || { cat "$APP_LOG" >&2; fail "the program ended before its window showed"; }
}

start_window_manager() {
    needs openbox wmctrl xdotool xclip python3
    openbox --sm-disable >"$WM_LOG" 2>&1 &
    WM_PID=$!
    wait_until 60 wmctrl -m || { cat "$WM_LOG" >&2; fail "window manager did not start on $DISPLAY"; }
}

# Runs COMMAND with the signals that end a program at their default, as a terminal or a desktop starts it. A
# shell's background job may come with some ignored (bash 5.3 ignores SIGINT and SIGQUIT in "( … ) &"), and
# what is ignored at exec stays ignored in the program; a case that means to hand an ignored signal on
# ignores it after this (nohup).
with_default_signals=(python3 -c 'import os, signal, sys
for number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTERM, signal.SIGHUP, signal.SIGPIPE, signal.SIGXFSZ):
    signal.signal(number, signal.SIG_DFL)
os.execvp(sys.argv[1], sys.argv[1:])')

# Starts the program in the working directory WORKDIR; sets APP_PID and WINDOW. ZADRIN_RUNNER, if
# set, runs it (wine, for zadrin.exe).
start_program() {
    local program=$1 workdir=$2
    # shellcheck disable=SC2086 # the runner is a command, maybe with arguments
    (cd "$workdir" && exec "${with_default_signals[@]}" ${ZADRIN_RUNNER:-} "$program") >"$APP_LOG" 2>&1 &
    APP_PID=$!
    wait_while_running 30 xdotool search --onlyvisible --name '^Form1$' || { cat "$APP_LOG" >&2; fail "no window appeared"; }
    WINDOW=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
    wait_until 10 bounded xdotool windowactivate --sync "$WINDOW"
}

# Waits for the program to end with STATUS (0 by default: well); fails if it does not within SECONDS.
wait_for_exit() {
    local seconds=${1:-20} expected=${2:-0} status=0
    wait_until "$seconds" bash -c "! kill -0 $APP_PID" || fail "program did not end"
    wait "$APP_PID" || status=$?
    APP_PID=
    ((status == expected)) || { cat "$APP_LOG" >&2; fail "program ended with status $status, not $expected"; }
}

# The status a shell gives a process that SIGNAL (TERM, HUP, INT) ended: 128 and the signal's number.
ended_by() { echo $((128 + $(kill -l "$1"))); }

# The window's client area: its width in pixels (from xdotool's lines for a shell, not a report's wording).
client_width() { bounded xdotool getwindowgeometry --shell "$WINDOW" | sed -n 's/^WIDTH=//p'; }
width_is() { [ "$(client_width)" = "$1" ]; }

# Copies as a clipboard history counts them. Each copy is one change of its selection, made marked: data
# put there plain and again marked would show as two. The script defines changes SELECTION (CLIPBOARD or
# PRIMARY: how many changes its listener has seen) and LISTENER_LOG; WANT_CLIPBOARD and WANT_PRIMARY are
# the changes the steps must have made, in all so far.
WANT_CLIPBOARD=0 WANT_PRIMARY=0
changes_reached() {
    [ "$(changes CLIPBOARD)" -ge "$WANT_CLIPBOARD" ] && [ "$(changes PRIMARY)" -ge "$WANT_PRIMARY" ]
}
# Runs COMMAND, which copies to the clipboard CLIPBOARD times and selects (primary) PRIMARY times, and
# waits for those changes; WHAT names the step.
copies() {
    local what=$1
    ((WANT_CLIPBOARD += $2, WANT_PRIMARY += $3)) || true
    shift 3
    "$@"
    wait_until 30 changes_reached ||
        { cat "$LISTENER_LOG"; fail "$what: fewer changes than $WANT_CLIPBOARD and $WANT_PRIMARY"; }
}
# Fails unless the listener saw exactly the changes the steps made.
all_changes_seen() {
    expect "changes of the clipboard" "$(changes CLIPBOARD)" "$WANT_CLIPBOARD"
    expect "changes of the primary selection" "$(changes PRIMARY)" "$WANT_PRIMARY"
}

# Ends what the test started and removes its logs. A process that has ended already changes nothing: in an
# exit trap under set -e, a failing kill would end the trap before the rest is cleaned up.
stop_everything() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
    rm -rf "$LOGS"
}

# Clicks at X Y of the program's window (client coordinates, as in the layout).
click_at() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
}

# The text of the edit at X Y, read as a person would: click, select all, copy.
text_at() {
    click_at "$1" "$2"
    printf '' | xclip -selection clipboard
    xdotool key --clearmodifiers ctrl+a ctrl+c
    wait_until 30 bash -c '[ -n "$(timeout 10 xclip -o -selection clipboard 2>/dev/null)" ]' || true
    bounded xclip -o -selection clipboard 2>/dev/null || true
}

# Fails unless SELECTION (clipboard or primary) holds TEXT, marked secret for clipboard histories.
expect_secret() {
    local selection=$1 text=$2
    bounded xclip -o -selection "$selection" -t TARGETS | grep -qx x-kde-passwordManagerHint ||
        fail "$selection: not marked secret"
    expect "$selection: the mark" "$(bounded xclip -o -selection "$selection" -t x-kde-passwordManagerHint)" secret
    expect "$selection: the text" "$(bounded xclip -o -selection "$selection")" "$text"
}

# Opens the context menu of the control at X Y with the right mouse button; fails unless it shows.
context_menu_at() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 3
    menu_open() { [ "$(xdotool search --onlyvisible --pid "$APP_PID" | wc -l)" -ge 2 ]; }
    wait_until 10 menu_open || fail "no context menu"
}

# Replaces the text of the edit at X Y by typing.
type_at() {
    click_at "$1" "$2"
    xdotool key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay 20 "$3"
}

window_title() { xdotool getwindowname "$WINDOW"; }
