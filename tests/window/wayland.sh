#!/usr/bin/env bash
# The program on a Wayland desktop with no X server: under a headless compositor it shows its window with
# the designed client area, compact and expanded as the settings say, and, asked to end, closes it and
# saves as on X11. The window's size is the one the compositor reports for it (sway's own account of its
# windows, asked over its IPC).
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$(realpath "$0")")/lib.sh"
needs sway swaymsg python3

work=$(mktemp -d)
chmod 755 "$work"
trap 'stop_everything; [ -n "${COMPOSITOR_PID:-}" ] && kill "$COMPOSITOR_PID" 2>/dev/null || true; rm -rf "$work"' EXIT

# sway refuses to run as root: then it runs as "nobody", in a runtime folder of that user's own.
as_compositor=()
compositor="$work/compositor"
mkdir -m 700 "$compositor"
if [ "$(id -u)" -eq 0 ]; then
    as_compositor=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown 65534 "$compositor"
fi
"${as_compositor[@]}" env -i PATH="$PATH" HOME="$compositor" XDG_RUNTIME_DIR="$compositor" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c /dev/null >"$work/sway.log" 2>&1 &
COMPOSITOR_PID=$!
socket() { ls "$compositor"/wayland-? 2>/dev/null | head -n 1; }
ipc() { ls "$compositor"/sway-ipc.*.sock 2>/dev/null | head -n 1; }
ready() { [ -S "$(socket)" ] && [ -S "$(ipc)" ]; }
wait_until 60 ready || { cat "$work/sway.log"; fail "the compositor did not start"; }
export SWAYSOCK
SWAYSOCK=$(ipc)

# Starts the program in WORKDIR on the compositor alone, with a runtime folder of its own.
start_on_wayland() {
    mkdir -m 700 "$1/runtime"
    (cd "$1" && exec env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$(socket)" XDG_RUNTIME_DIR="$1/runtime" \
        QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$program") >"$APP_LOG" 2>&1 &
    APP_PID=$!
}
# The size of the window "Form1" as the compositor has it, WIDTHxHEIGHT (without the toolkit's decorations
# the window is the client area alone).
window_size() {
    swaymsg -r -t get_tree | python3 -c '
import json, sys
def windows(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from windows(child)
for window in windows(json.load(sys.stdin)):
    if window.get("name") == "Form1":
        print("%dx%d" % (window["geometry"]["width"], window["geometry"]["height"]))'
}
shown() { [ "$(window_size)" = "$1x419" ]; }

for shown in "compact 197 K" "expanded 492 G"; do
    read -r name width saved <<<"$shown"
    echo "$name"
    mkdir -p "$work/$name"
    [ "$saved" = G ] && printf '[Option]\r\nKG=G\r\nL=12\r\n' >"$work/$name/Zadrin.ini"
    start_on_wayland "$work/$name"
    wait_while_running 60 shown "$width" || fail "$name: no window of ${width}×419, the compositor has: $(window_size)"
    kill -TERM "$APP_PID"
    wait_for_exit 30 "$(ended_by TERM)"
    grep -q "^KG=$saved" "$work/$name/Zadrin.ini" || fail "$name: the settings were not saved"
done
echo "on Wayland: window shown at the designed sizes, closed and saved when asked to end"
