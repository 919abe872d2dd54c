#!/usr/bin/env bash
# Copies of a key as a clipboard history on X11 sees them: a listener asks each new owner of the clipboard
# and of the primary selection at once what it offers. Every offer of text out of the program carries the
# mark that keeps histories away, from the first moment: copied with the keys or the context menu,
# selected with keyboard or mouse, from the key field and the history. A paste right after Ctrl+C of a
# key of a million characters gets all of it.
set -euo pipefail
program=$(realpath "$1") listener=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/lib.sh"

work=$(mktemp -d)
trap 'stop_everything; [ -n "${LISTENER_PID:-}" ] && kill "$LISTENER_PID" 2>/dev/null; rm -rf "$work"' EXIT
log="$work/listener.log"
key_button=(157 36)  length_field=(36 130)  key_field=(132 130)  history=(100 260)

start_window_manager
start_program "$program" "$work"
click_at "${key_button[@]}"
"$listener" >"$log" 2>&1 &
LISTENER_PID=$!
wait_until 30 grep -qx listening "$log" || { cat "$log"; fail "the listener did not start"; }

# Waits until the listener has seen COUNT answers for SELECTION.
seen() { [ "$(grep -c "^$1 targets:" "$log")" -ge "$2" ]; }
wait_for_offers() { wait_until 30 seen "$1" "$2" || { cat "$log"; fail "$3: no new owner of $1"; }; }

echo "key field: Ctrl+A, Ctrl+C"
click_at "${key_field[@]}"
xdotool key --clearmodifiers ctrl+a ctrl+c
wait_for_offers CLIPBOARD 1 "Ctrl+C"
key=$(bounded xclip -o -selection clipboard)
expect "key length" "$(characters "$key")" 8
expect "selected with Ctrl+A" "$(bounded xclip -o -selection primary)" "$key"

echo "key field: Shift+Home, Shift+Right, then the context menu's Kopieren"
xdotool key --clearmodifiers End shift+Home shift+Right
wait_until 30 bash -c '[ "$(timeout 10 xclip -o -selection primary)" = "${1:1}" ]' _ "$key" ||
    fail "selected with the keyboard: expected '${key:1}', got '$(bounded xclip -o -selection primary)'"
xdotool mousemove --window "$WINDOW" "${key_field[@]}" click 3
menu_open() { [ "$(xdotool search --onlyvisible --pid "$APP_PID" | wc -l)" -ge 2 ]; }
wait_until 10 menu_open || fail "no context menu"
xdotool key --clearmodifiers Down Return
wait_for_offers CLIPBOARD 2 "Kopieren"
expect "copied with the menu" "$(bounded xclip -o -selection clipboard)" "${key:1}"

echo "key field: selected with the mouse"
xdotool mousemove --window "$WINDOW" 74 130 mousedown 1 mousemove --window "$WINDOW" 190 130 mouseup 1
wait_until 30 bash -c '[ "$(timeout 10 xclip -o -selection primary)" = "$1" ]' _ "$key" ||
    fail "selected with the mouse: expected '$key', got '$(bounded xclip -o -selection primary)'"

echo "history: Ctrl+A, Ctrl+C"
click_at "${history[@]}"
xdotool key --clearmodifiers ctrl+a ctrl+c
wait_for_offers CLIPBOARD 3 "Ctrl+C in the history"
grep -qxF -e "$key" <<<"$(bounded xclip -o -selection clipboard)" || fail "the history's copy is not the key"

echo "a key of 1000000 characters, pasted right after Ctrl+C"
# Typed without selecting: the length field is no secret, and its selection would be a plain offer.
click_at "${length_field[@]}"
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace
xdotool type --delay 20 1000000
click_at "${key_button[@]}"
click_at "${key_field[@]}"
xdotool key --clearmodifiers ctrl+a ctrl+c
wait_for_offers CLIPBOARD 4 "Ctrl+C of a long key"
long=$(bounded xclip -o -selection clipboard)
expect "pasted at once" "$(characters "$long")" 1000000
expect "the same as the selection" "$(bounded xclip -o -selection primary)" "$long"

kill "$LISTENER_PID"
LISTENER_PID=
# Every answer that offers text offers the mark; nothing was ever without an owner or refused.
offers=$(grep -E '^(CLIPBOARD|PRIMARY) ' "$log")
plain=$(grep -E ' (UTF8_STRING|STRING|TEXT|text/plain)( |$)' <<<"$offers" | grep -v ' x-kde-passwordManagerHint' || true)
[ -z "$plain" ] || { cat "$log"; fail "offered text without the mark: $plain"; }
broken=$(grep -E ' (no owner|refused|no answer)$' <<<"$offers" || true)
[ -z "$broken" ] || { cat "$log"; fail "a moment with nothing to paste: $broken"; }
expect "primary owners seen" "$(grep -c '^PRIMARY targets:' <<<"$offers" | awk '$1 >= 4 { print "enough" }')" enough
echo "$(wc -l <<<"$offers") changes, every one marked"

xdotool key --clearmodifiers alt+b
wait_for_exit 30
