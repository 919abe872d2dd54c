#!/usr/bin/env bash
# The program on a Wayland desktop with no X server: under a headless compositor it shows its window with
# the designed client area, compact and expanded as the settings say, and, asked to end, closes it and
# saves as on X11. What the program asks of the compositor is read from its own protocol log.
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$(realpath "$0")")/lib.sh"

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'stop_everything; [ -n "${COMPOSITOR_PID:-}" ] && kill "$COMPOSITOR_PID" 2>/dev/null || true; rm -rf "$work"' EXIT

weston --backend=headless-backend.so --socket=zadrin-test --idle-time=0 --no-config >"$work/weston.log" 2>&1 &
COMPOSITOR_PID=$!
wait_until 60 test -S "$XDG_RUNTIME_DIR/zadrin-test" || { cat "$work/weston.log"; fail "the compositor did not start"; }

# Starts the program in WORKDIR on the compositor alone; its protocol log goes to APP_LOG. (Without
# the toolkit's decorations the window is the client area alone.)
start_on_wayland() {
    APP_LOG=$(mktemp -p "$work")
    (cd "$1" && exec env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=zadrin-test WAYLAND_DEBUG=1 \
        QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$program") >"$APP_LOG" 2>&1 &
    APP_PID=$!
}
# Whether the window "Form1" has been drawn WIDTH × 419 pixels.
drawn() { grep -q 'set_title("Form1")' "$APP_LOG" && grep -q "create_buffer(new id wl_buffer@[0-9]*, 0, $1, 419," "$APP_LOG"; }

for shown in "compact 197 K" "expanded 492 G"; do
    read -r name width saved <<<"$shown"
    echo "$name"
    mkdir -p "$work/$name"
    [ "$saved" = G ] && printf '[Option]\r\nKG=G\r\nL=12\r\n' >"$work/$name/Zadrin.ini"
    start_on_wayland "$work/$name"
    wait_until 60 drawn "$width" || { grep -E 'set_window_geometry|create_buffer' "$APP_LOG" | tail -n 5; fail "$name: no window of ${width}×419"; }
    kill -TERM "$APP_PID"
    wait_for_exit 30
    grep -q "^KG=$saved" "$work/$name/Zadrin.ini" || fail "$name: the settings were not saved"
done
echo "on Wayland: window drawn at the designed sizes, closed and saved when asked to end"
