#!/usr/bin/env bash
# zadrin.exe under Wine, looked at by another Windows program of the same user: it cannot read the
# program's memory nor change its access list, and keys copied from the key field and the history
# reach the clipboard marked for clipboard histories and the cloud clipboard to stay away.
set -euo pipefail
program=$(realpath "$1") probe=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/../window/lib.sh"
work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT
export ZADRIN_RUNNER=wine

start_window_manager
start_program "$program" "$work"
wine "$probe" process | tr -d '\r' || fail "the program's process is open to others"

click_at 157 36 # Key erzeugen
key=$(text_at 132 130)
[ -n "$key" ] || fail "no key to copy"
wine "$probe" clipboard | tr -d '\r' || fail "the key copied from the key field is not marked"
history=$(text_at 100 260)
grep -qxF -e "$key" <<<"$history" || fail "the key is not in the history"
wine "$probe" clipboard | tr -d '\r' || fail "the text copied from the history is not marked"

xdotool key --clearmodifiers alt+b
wait_for_exit 30
echo "process closed to others, copies marked"
