#!/usr/bin/env bash
# zadrin.exe under Wine, looked at by other Windows programs of the same user: one cannot read the
# program's memory nor change its access list, nor open any of its threads to steer, stop or read it (those
# it starts later included: looked at again after the copies); one that watches the clipboard as a clipboard history does
# finds every copy out of the program (key field: Ctrl+C and the context menu; history: Ctrl+C) marked for
# clipboard histories and the cloud clipboard to stay away, from the moment it is announced.
set -euo pipefail
program=$(realpath "$1") probe=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/../window/lib.sh"
work=$(mktemp -d)
trap 'stop_everything; [ -n "${LISTENER_PID:-}" ] && kill "$LISTENER_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
export ZADRIN_RUNNER=wine
log="$work/listener.log"
key_field=(132 130)

start_window_manager
start_program "$program" "$work"
wine "$probe" process | tr -d '\r' || fail "the program's process is open to others"
wine "$probe" threads | tr -d '\r' || fail "a thread of the program is open to others"

wine "$probe" listen >"$log" 2>&1 &
LISTENER_PID=$!
wait_until 60 grep -q listening "$log" || { cat "$log"; fail "the listener did not start"; }
# Waits until the listener has seen COUNT changes of Zadrin's.
changes() { [ "$(grep -c '^zadrin ' "$log")" -ge "$1" ]; }

click_at 157 36 # Key erzeugen
key=$(text_at "${key_field[@]}")
[ -n "$key" ] || fail "no key to copy"
wait_until 30 changes 1 || { cat "$log"; fail "Ctrl+C in the key field: no change seen"; }
context_menu_at "${key_field[@]}"
xdotool key --clearmodifiers Down Return
wait_until 30 changes 2 || { cat "$log"; fail "Kopieren in the key field's menu: no change seen"; }
history=$(text_at 100 260)
grep -qxF -e "$key" <<<"$history" || fail "the key is not in the history"
wait_until 30 changes 3 || { cat "$log"; fail "Ctrl+C in the history: no change seen"; }
kill "$LISTENER_PID"
LISTENER_PID=
tr -d '\r' <"$log"
! grep '^zadrin ' "$log" | grep -qv ' text marked' || fail "a change of Zadrin's without marked text"
# Each copy is one change, made marked: data put there plain and again marked shows as two.
expect "changes of Zadrin's for three copies" "$(grep -c '^zadrin ' "$log")" 3
wine "$probe" threads | tr -d '\r' || fail "after the copies, a thread of the program is open to others"

xdotool key --clearmodifiers alt+b
wait_for_exit 30
echo "process closed to others, copies marked as they are made"
