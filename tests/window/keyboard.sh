#!/usr/bin/env bash
# The whole window with the keyboard alone, in a real window: Tab runs round every stop and back at
# both widths, never onto a control out of view; Space on the check boxes (twice, so the selection
# stays) and on the buttons that do not quit; Alt+B saves. Where focus went wrong, the typed length,
# the width or the selection in the saved file shows it.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/lib.sh"

work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT
ini="$work/Zadrin.ini"

# KEY pressed COUNT times.
press() { for ((i = 0; i < $2; i++)); do xdotool key --clearmodifiers "$1"; done; }

compact_stops=11   # Key erzeugen, beenden, Stellenzahl, Key, the four categories, Verlauf, clear, Opt.
expanded_stops=$((compact_stops + 101))

start_window_manager
start_program "$program" "$work"
expect "first start is compact" "$(client_width)" "$((205 - 8))"

echo "compact: round and back"
press Tab "$compact_stops"                      # round to "Key erzeugen"
press Tab 2                                     # Stellenzahl
xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 11
press shift+Tab "$compact_stops"                # round backwards to Stellenzahl
xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 12

echo "compact: Space on every stop that does not quit"
press Tab 2                                     # buchstaben, Zahlen, Sonderzeichen, BUCHSTABEN
for _ in 1 2 3 4; do press space 2; press Tab 1; done
press Tab 1                                     # past Verlauf to clear
press space 1
press Tab 1                                     # Opt.
press space 1
wait_until 30 width_is "$((500 - 8))" \
    || fail "Space on Opt. did not widen the window: focus was elsewhere"

echo "expanded: round with Space on every check box, and back"
press Tab 1; press space 1                      # Key erzeugen
press Tab 4                                     # past beenden, Stellenzahl, Key to buchstaben
for _ in 1 2 3 4; do press space 2; press Tab 1; done
press Tab 1; press space 1                      # clear
for _ in $(seq 101); do press Tab 1; press space 2; done
press Tab 1                                     # Opt. again
press shift+Tab "$expanded_stops"               # round backwards to Opt.
press space 1
wait_until 30 width_is "$((205 - 8))" \
    || fail "Space on Opt. did not narrow the window: focus was elsewhere"

xdotool key --clearmodifiers alt+b
wait_for_exit 20
expect "settings file" "$(cat "$ini")" \
    "$(printf '[CheckBox]\r\nWert=%s\r\n[Option]\r\nKG=K\r\nL=12\r' "$(printf 'T%.0s' {5..105})")"
echo "keyboard session complete"
