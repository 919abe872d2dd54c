#!/usr/bin/env bash
# Copies of a key as a clipboard history on X11 sees them: a listener asks each new owner of the clipboard
# and of the primary selection at once what it offers. Every offer of text out of the program carries the
# mark that keeps histories away, from the first moment: copied with the keys or the context menu,
# selected with keyboard or mouse, from the key field and the history. A paste right after Ctrl+C of a
# key of a million characters (or LONG_KEY) gets all of it.
set -euo pipefail
program=$(realpath "$1") listener=$(realpath "$2")
. "$(dirname "$(realpath "$0")")/lib.sh"

work=$(mktemp -d)
trap 'stop_everything; [ -n "${LISTENER_PID:-}" ] && kill "$LISTENER_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
log="$work/listener.log"
long_key=${LONG_KEY:-1000000}
key_button=(157 36)  length_field=(36 130)  key_field=(132 130)  history=(100 260)

start_window_manager
start_program "$program" "$work"
click_at "${key_button[@]}"
"$listener" >"$log" 2>&1 &
LISTENER_PID=$!
wait_until 30 grep -qx listening "$log" || { cat "$log"; fail "the listener did not start"; }

# The number of answers the listener has had from owners of SELECTION.
changes() { grep -c "^$1 targets:" "$log" || true; }
LISTENER_LOG=$log
# Waits until the primary selection holds TEXT; WHAT names the step.
primary_holds() { [ "$(bounded xclip -o -selection primary)" = "$1" ]; }
expect_primary() {
    wait_until 30 primary_holds "$2" ||
        fail "$1: expected '$2', got '$(bounded xclip -o -selection primary)'"
}

echo "key field: Ctrl+A, Ctrl+C"
click_at "${key_field[@]}"
# Ctrl+A selects; Ctrl+C copies, and hands the selection out again as every key the edit handles does.
copies "Ctrl+A, Ctrl+C" 1 2 xdotool key --clearmodifiers ctrl+a ctrl+c
key=$(bounded xclip -o -selection clipboard)
expect "key length" "$(characters "$key")" 8
expect "selected with Ctrl+A" "$(bounded xclip -o -selection primary)" "$key"

echo "key field: Shift+Home, Shift+Right, then the context menu's Kopieren"
copies "End, Shift+Home, Shift+Right" 0 2 xdotool key --clearmodifiers End shift+Home shift+Right
# The key but its first character, counted in characters whatever the locale (a key may start with Ü).
rest=$(printf '%s' "$key" | LC_ALL=C.UTF-8 sed 's/^.//')
expect_primary "selected with the keyboard" "$rest"
context_menu_at "${key_field[@]}"
copies "Kopieren" 1 0 xdotool key --clearmodifiers Down Return
expect "copied with the menu" "$(bounded xclip -o -selection clipboard)" "$rest"

echo "key field: selected with the mouse"
copies "selected with the mouse" 0 1 \
    xdotool mousemove --window "$WINDOW" 74 130 mousedown 1 mousemove --window "$WINDOW" 190 130 mouseup 1
expect_primary "selected with the mouse" "$key"

echo "history: Ctrl+A, Ctrl+C"
click_at "${history[@]}"
copies "Ctrl+A, Ctrl+C in the history" 1 1 xdotool key --clearmodifiers ctrl+a ctrl+c
grep -qxF -e "$key" <<<"$(bounded xclip -o -selection clipboard)" || fail "the history's copy is not the key"

echo "a key of $long_key characters, pasted right after Ctrl+C"
# Typed without selecting: the length field is no secret, and its selection would be a plain offer.
click_at "${length_field[@]}"
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace
xdotool type --delay 20 "$long_key"
click_at "${key_button[@]}"
click_at "${key_field[@]}"
copies "Ctrl+A, Ctrl+C of a long key" 1 2 xdotool key --clearmodifiers ctrl+a ctrl+c
long=$(bounded xclip -o -selection clipboard)
expect "pasted at once" "$(characters "$long")" "$long_key"
expect "the same as the selection" "$(bounded xclip -o -selection primary)" "$long"

kill "$LISTENER_PID"
LISTENER_PID=
# Every answer that offers text offers the mark; nothing was ever without an owner or refused.
offers=$(grep -E '^(CLIPBOARD|PRIMARY) ' "$log")
plain=$(grep -E ' (UTF8_STRING|STRING|TEXT|text/plain)( |$)' <<<"$offers" | grep -v ' x-kde-passwordManagerHint' || true)
[ -z "$plain" ] || { cat "$log"; fail "offered text without the mark: $plain"; }
broken=$(grep -E ' (no owner|refused|no answer)$' <<<"$offers" || true)
[ -z "$broken" ] || { cat "$log"; fail "a moment with nothing to paste: $broken"; }
all_changes_seen
echo "$(wc -l <<<"$offers") changes, every one marked"

xdotool key --clearmodifiers alt+b
wait_for_exit 30
