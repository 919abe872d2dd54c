#!/usr/bin/env bash
# The running program cannot be dumped or read by another process of the same user: its /proc files
# belong to root, reading its memory or environment is refused, and a debugger cannot attach. As
# root (whom nothing stops) the program and the prying process both run as the user "nobody", from a copy
# of the program in a private temporary folder: the build's own folder may be out of that user's reach (a
# home of mode 0700).
set -euo pipefail
. "$(dirname "$(realpath "$0")")/window/lib.sh"
needs gdb
work=$(mktemp -d)
ordinary=
trap 'kill -KILL $pid $ordinary 2>/dev/null || true; stop_everything; rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir -m 777 "$work/run"
program="$work/zadrin"
cp "$(realpath "$1")" "$program"
as_user=() user=$(id -u)
[ "$user" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups) user=65534
fail() { echo "FAIL: $*" >&2; echo "The program's output:" >&2; cat "$work/log" >&2; exit 1; }

# A runtime folder of that user's own, or the toolkit makes one in /tmp.
mkdir -m 700 "$work/runtime"
chown "$user" "$work/runtime"
(cd "$work/run" && exec "${with_default_signals[@]}" "${as_user[@]}" env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" "$program") \
    >"$work/log" 2>&1 &
pid=$!
# Wait for the program itself (not the tools starting it, told apart by name: once protected, only root
# may see its image) to have protected itself: it starts unprotected and protects itself once it has
# started anew with its allocator set up.
protected() {
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = zadrin ] && [ "$(stat -c %u "/proc/$pid/status")" = 0 ] &&
        grep -q "^Uid:[[:space:]]*$user[[:space:]]" "/proc/$pid/status"
}
protected_or_ended() { protected || ! kill -0 "$pid"; }
wait_until 120 protected_or_ended || fail "the program's /proc files still belong to its user"
kill -0 "$pid" 2>/dev/null || fail "the program did not start: it ended at once"
"${as_user[@]}" cat "/proc/$pid/environ" >/dev/null 2>&1 && fail "another process read its environment"
"${as_user[@]}" dd if="/proc/$pid/mem" bs=1 count=1 skip=4194304 >/dev/null 2>&1 && fail "another process read its memory"
# Whether a debugger, run as that user, attached to PID: it can then read the process's registers. Told by
# gdb's status (in batch mode, that of its last command), not by its words, which change between versions.
attaches() {
    "${as_user[@]}" gdb -q -batch -nx -p "$1" -ex 'info registers rip' >/dev/null 2>&1
}
# An ordinary process of the same user takes a debugger here: otherwise the refusal below would prove nothing.
"${as_user[@]}" sleep 300 &
ordinary=$!
attaches "$ordinary" || { kill "$ordinary"; fail "gdb cannot attach to an ordinary process of the same user here"; }
kill "$ordinary"
attaches "$pid" && fail "a debugger could attach"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
((status == $(ended_by TERM))) || fail "the program did not end by the signal it was sent: status $status"
echo "not dumpable, not readable, not traceable"
