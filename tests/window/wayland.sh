#!/usr/bin/env bash
# The program on a Wayland desktop with no X server: under a headless compositor it shows its window with
# the designed client area, compact and expanded as the settings say, and, asked to end, closes it and
# saves as on X11. The window's size is the one the compositor reports for it (sway's own account of its
# windows, asked over its IPC). Then the copies as a clipboard history there sees them (wl-paste watching
# both selections through the compositor's data-control): keys typed by a virtual keyboard copy and
# select in the key field and the history; every change offers the mark, one change per copy, and a key
# of a million characters (or LONG_KEY) pastes whole. The toolkit's Wayland plugin is asked for by the name
# given as the second argument (wayland by default; it also answers to wayland-egl).
set -euo pipefail
program=$(realpath "$1")
platform=${2:-wayland}
. "$(dirname "$(realpath "$0")")/lib.sh"
needs sway swaymsg python3 wtype wl-paste wl-copy

work=$(mktemp -d)
chmod 755 "$work"
listeners=()
trap 'stop_everything; kill "${listeners[@]}" "${COMPOSITOR_PID:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

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
    (cd "$1" && exec "${with_default_signals[@]}" env -u DISPLAY QT_QPA_PLATFORM="$platform" WAYLAND_DISPLAY="$(socket)" XDG_RUNTIME_DIR="$1/runtime" \
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

echo "copies, as a clipboard history sees them"
export WAYLAND_DISPLAY
WAYLAND_DISPLAY=$(socket)
log="$work/listener.log"
long_key=${LONG_KEY:-1000000}
# One line per change of the clipboard (CLIPBOARD) or the primary selection (PRIMARY): "offers:" and the
# formats offered, or "nothing" (newer wl-paste also tells so once as it starts).
for selection in CLIPBOARD PRIMARY; do
    option=()
    [ "$selection" = PRIMARY ] && option=(--primary)
    # shellcheck disable=SC2016 # expanded by the shell wl-paste starts
    wl-paste "${option[@]}" --watch sh -c 'types=$(wl-paste "$@" --list-types 2>/dev/null | tr "\n" " ")
        if [ -n "$types" ]; then echo "$0 offers: $types"; else echo "$0 nothing"; fi' \
        "$selection" "${option[@]}" >>"$log" 2>&1 &
    listeners+=($!)
done
mkdir -p "$work/copies"
# Built with the address sanitizer, the program does not report leaks here: the toolkit's Wayland clipboard
# (Qt 6.4) keeps the data of every copy to the end, emptied by the program (read from memory below).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" start_on_wayland "$work/copies"
wait_while_running 60 shown 197 || fail "copies: no window, the compositor has: $(window_size)"

changes() { grep -c "^$1 offers: " "$log" || true; }
LISTENER_LOG=$log
# The program has done what it was given: its processor time stands still for half a second. The compositor's
# seat has a keyboard only while wtype runs; a program still busy (a long key, a slow build) when wtype has
# come and gone never binds that keyboard and misses the keys.
cpu_time() { awk '{ print $14 + $15 }' "/proc/$APP_PID/stat"; }
settled() {
    local before
    before=$(cpu_time) && sleep 0.5 && [ "$(cpu_time)" = "$before" ]
}
# Types KEYS (wtype's options) as one sequence, which copies to the clipboard CLIPBOARD times and selects
# PRIMARY times, and waits for those changes; once the program has settled, and with a second's wait in wtype
# until the window has been told of its keyboard.
typed() {
    wait_while_running 120 settled || fail "the program never settled"
    wtype -s 1000 "$@"
}
keys() { copies "$1" "$2" "$3" typed "${@:4}"; }
pasted() { bounded wl-paste --no-newline "$@"; }

echo "key field: Ctrl+A, Ctrl+C"
keys "Key erzeugen" 0 0 -k space
keys "Tab to the key field" 0 0 -k Tab -k Tab -k Tab
keys "Ctrl+A, Ctrl+C" 1 2 -M ctrl -k a -k c -m ctrl
key=$(pasted)
expect "key length" "$(characters "$key")" 8
expect "selected with Ctrl+A" "$(pasted --primary)" "$key"
echo "key field: Shift+Home, Shift+Right"
keys "End, Shift+Home, Shift+Right" 0 2 -k End -M shift -k Home -k Right -m shift
expect "selected with the keyboard" "$(pasted --primary)" "$(printf '%s' "$key" | LC_ALL=C.UTF-8 sed 's/^.//')"
echo "history: Ctrl+A, Ctrl+C"
keys "Tab to the history" 0 0 -k Tab -k Tab -k Tab -k Tab -k Tab
keys "Ctrl+A, Ctrl+C in the history" 1 1 -M ctrl -k a -k c -m ctrl
grep -qxF -e "$key" <<<"$(pasted)" || fail "the history's copy is not the key"
echo "a key of $long_key characters"
keys "Shift+Tab to the length" 0 0 -M shift -k Tab -k Tab -k Tab -k Tab -k Tab -k Tab -m shift
keys "the length typed" 0 0 "$long_key"
keys "Shift+Tab to Key erzeugen, pressed" 0 0 -M shift -k Tab -k Tab -m shift -k space
keys "Tab to the key field, Ctrl+A, Ctrl+C" 1 2 -k Tab -k Tab -k Tab -M ctrl -k a -k c -m ctrl
long=$(pasted)
expect "pasted whole" "$(characters "$long")" "$long_key"
expect "the same as the selection" "$(pasted --primary)" "$long"
expect "the mark" "$(pasted --type x-kde-passwordManagerHint)" secret

# What is no longer shown nor copied is gone from the program's memory, read as root would read it (the
# program is closed to its own user): the first key, once the history is cleared and the copies of it are
# replaced. The toolkit's Wayland clipboard (Qt 6.4) never frees the data of a copy; the program drops its
# text. The longest key, still in the key field, shows that the reading finds what is there.
keys "Tab to clear, pressed" 0 0 -k Tab -k Tab -k Tab -k Tab -k Tab -k Tab -k space
in_memory() {
    python3 - "$APP_PID" "$@" <<'PYTHON'
import os, sys
pid, texts = sys.argv[1], sys.argv[2:]
if texts[:1] == ["--"]:
    texts = texts[1:]
# Cut by bytes (no locale set), a text may end inside a character: its whole characters are looked for.
texts = [os.fsencode(t).decode("utf-8", "ignore") for t in texts]
needles = [t.encode(code) for t in texts for code in ("utf-8", "utf-16-le")]
with open(f"/proc/{pid}/maps") as maps, open(f"/proc/{pid}/mem", "rb", 0) as memory:
    for mapping in maps:
        span, permissions = mapping.split()[:2]
        if not permissions.startswith("r"):
            continue
        start, end = (int(address, 16) for address in span.split("-"))
        try:
            memory.seek(start)
            block = memory.read(end - start)
        except (OSError, OverflowError, ValueError):
            continue
        if any(needle in block for needle in needles):
            sys.exit(0)
sys.exit(1)
PYTHON
}
if grep -qa __asan_init "$program"; then
    echo "built with the address sanitizer: its shadow memory is too large to read through"
elif [ "$(id -u)" -eq 0 ]; then
    in_memory -- "${long:0:64}" || fail "the memory reading does not find the key in the key field"
    first_key_gone() { ! in_memory -- "$key"; }
    wait_while_running 30 first_key_gone ||
        fail "the first key is still in memory after the history was cleared and its copies replaced"
else
    echo "not root: the program's memory is not read"
fi

kill "${listeners[@]}"
listeners=()
plain=$(grep ' offers: ' "$log" | grep -v ' x-kde-passwordManagerHint ' || true)
[ -z "$plain" ] || { cat "$log"; fail "a change without the mark: $plain"; }
# Once a selection held a copy, it never held nothing again.
emptied=$(awk '$2 == "offers:" { held[$1] = 1 } $2 == "nothing" && held[$1] { print $1 }' "$log")
[ -z "$emptied" ] || { cat "$log"; fail "a moment with nothing to paste: $emptied"; }
unknown=$(grep -Ev '^(CLIPBOARD|PRIMARY) (offers: |nothing$)' "$log" || true)
[ -z "$unknown" ] || { cat "$log"; fail "the listener said: $unknown"; }
all_changes_seen
# Another program takes both selections, as a user's next copy elsewhere would: the toolkit then lets go of
# the key's data (which it would otherwise keep to the end of the process).
bounded wl-copy --clear
bounded wl-copy --primary --clear
typed -M alt -k b -m alt
wait_for_exit 30
echo "on Wayland: $WANT_CLIPBOARD copies and $WANT_PRIMARY selections, each one change, every one marked"
