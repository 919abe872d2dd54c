#!/usr/bin/env bash
# The built program in a real window: it opens, and closing it through the window manager or with
# the accelerator of "&beenden" (Alt+B) ends it.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/lib.sh"

work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT

start_window_manager
start_program "$program" "$work"
echo "window $WINDOW is shown, $(client_width) pixels wide inside"

wmctrl -c Form1
wait_for_exit 20
echo "closed through the window manager: program ended"

start_program "$program" "$work"
xdotool key --clearmodifiers alt+b
wait_for_exit 20
echo "Alt+B: program ended"
