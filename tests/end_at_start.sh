#!/usr/bin/env bash
# Asked to end while it starts, the program ends by that signal, leaving no settings file or a whole one:
# asked before it runs (the request waits for it), and as soon as it takes requests, which it does only once
# started anew. (Asked once its window shows, it saves: window_session.)
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$(realpath "$0")")/window/lib.sh"
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true; stop_everything; rm -rf "$work"' EXIT

# Whether the program itself (not the shell starting it) catches SIGTERM (bit 15 of its caught signals),
# as started anew, with the allocator told to wipe (or already unreadable: protected). It is known by its
# name: once protected, only root may see its image.
started_anew() {
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$(basename "$program" | cut -c1-15)" ] &&
        (($(printf '%d' "0x$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")") & (1 << 14))) || return 1
    local environment
    environment=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null) || return 0
    grep -q 'glibc.malloc.perturb=' <<<"$environment"
}

# Starts the program; with "pending", SIGTERM is sent to it before it runs (blocked until it can answer);
# with "nohup", it starts with hang-ups ignored. Otherwise the end signals are at their default.
start() {
    rm -f "$work/Zadrin.ini"
    if [ "${1:-}" = nohup ]; then
        (cd "$work" && exec "${with_default_signals[@]}" env QT_QPA_PLATFORM=offscreen nohup "$program") >"$work/log" 2>&1 &
    elif [ "${1:-}" = pending ]; then
        (cd "$work" && exec env QT_QPA_PLATFORM=offscreen python3 -c '
import os, signal, sys
for number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTERM, signal.SIGHUP, signal.SIGPIPE, signal.SIGXFSZ):
    signal.signal(number, signal.SIG_DFL)
signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM})
os.kill(os.getpid(), signal.SIGTERM)
os.execv(sys.argv[1], sys.argv[1:])' "$program") >"$work/log" 2>&1 &
    else
        (cd "$work" && exec "${with_default_signals[@]}" env QT_QPA_PLATFORM=offscreen "$program") >"$work/log" 2>&1 &
    fi
    pid=$!
}

# Waits for the program to end; fails unless SIGTERM ended it and it left no file or a whole one.
ended_well() {
    local status=0
    wait_until 60 bash -c "! kill -0 $pid" || fail "$1: the program did not end"
    wait "$pid" || status=$?
    pid=
    ((status == $(ended_by TERM))) || { cat "$work/log"; fail "$1: ended with status $status, not by SIGTERM"; }
    [ ! -e "$work/Zadrin.ini" ] || expect "$1: sections saved" "$(grep -c '^\[' "$work/Zadrin.ini")" 2
}

for round in 1 2 3; do
    start pending
    ended_well "asked before it ran, round $round"
    [ ! -e "$work/Zadrin.ini" ] || fail "asked before it ran, round $round: a settings file was written"
done
for round in 1 2 3 4 5; do
    start
    wait_until 120 started_anew || { cat "$work/log"; fail "never started anew"; }
    kill -TERM "$pid"
    ended_well "started anew, round $round"
done
echo "asked to end while starting: ended by the signal every time"

# Started with hang-ups ignored (nohup, or in the background of a script), it goes on ignoring them: a
# hang-up before the request to end would end it with that signal.
start nohup
wait_until 120 started_anew || { cat "$work/log"; fail "nohup: never started anew"; }
(($(printf '%d' "0x$(awk '/^SigIgn:/ { print $2 }' "/proc/$pid/status")") & 1)) || fail "nohup: hang-ups caught again"
kill -HUP "$pid"
kill -TERM "$pid"
ended_well "nohup, a hang-up and then a request to end"
echo "started with hang-ups ignored: still ignored"
