#!/usr/bin/env bash
# The package as a user gets it: installed with apt into a clean, minimal system of the release this runs
# on, or of SYSTEM if given (one of known_systems in scripts/systems.sh: mmdebstrap, minbase: its only fonts are
# DejaVu), started through its desktop entry on this X server. The
# window must show and look exactly as the program built here draws it: every caption whole, in the
# font the program brings. Needs root (chroot) and Debian's package archive; takes about a minute.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "skipped: a chroot needs root"; exit 77; }
here=$(dirname "$(realpath "$0")")
. "$here/../../scripts/systems.sh"
[ -z "${2:-}" ] || known_system "$2" || exit 2
own_mounts "$@"
build=$(realpath "$1")
. "$here/lib.sh"

needs mmdebstrap chroot mount cpack import python3
work=$(mktemp -d)
root="$work/root"
cleanup() {
    stop_everything
    leave_systems
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$work"/out/zadrin_*.deb)
system=${2:-$(this_system)}
echo "installing $(basename "$deb") into a minimal $system"
make_system "$system" "$root" --customize-hook="copy-in $deb /tmp" \
    --customize-hook='chroot "$1" sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/*.deb >/tmp/install.log 2>&1 || { cat /tmp/install.log; exit 1; }"' ||
    fail "the package did not install into a minimal $system"
echo "fonts there: $(ls "$root/usr/share/fonts/truetype")"

# The installed program reaches this X server through its socket and cookie.
for place in proc dev tmp/.X11-unix; do
    mkdir -p "$root/$place"
    mount --bind "/$place" "$root/$place"
    mounted+=("$root/$place")
done
[ -n "${XAUTHORITY:-}" ] && cp "$XAUTHORITY" "$root/root/.Xauthority"

# What it must look like: the window of the program built here, first start, same size.
# Pictures are binary PPM files, read by the test's own reader (picture.py).
client() { import -window "$WINDOW" -depth 8 "$1"; }
differing() { "$here/picture.py" differing "$1" "$2"; }
# Painted to the end: two pictures in a row alike.
painted() { cp "$1" "$1.before" && client "$1" && [ "$(differing "$1.before" "$1")" = 0 ]; }
start_window_manager
here_work="$work/here"
mkdir -p "$here_work"
start_program "$build/app/zadrin" "$here_work"
client "$work/expected.ppm"
wait_until 60 painted "$work/expected.ppm" || fail "the window built here never finished painting"
wmctrl -c Form1
wait_for_exit 20

exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/org.example.zadrin.desktop")
echo "desktop entry runs: $exec_line"
"${with_default_signals[@]}" chroot "$root" /usr/bin/env -i HOME=/root DISPLAY="$DISPLAY" XAUTHORITY=/root/.Xauthority \
    PATH=/usr/bin:/bin sh -c "exec $exec_line" >"$APP_LOG" 2>&1 &
APP_PID=$!
wait_while_running 30 xdotool search --onlyvisible --name '^Form1$' || { cat "$APP_LOG"; fail "the installed program showed no window"; }
WINDOW=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
like_expected() { client "$work/installed.ppm" && [ "$(differing "$work/expected.ppm" "$work/installed.ppm")" = 0 ]; }
size() { "$here/picture.py" size "$1"; }
# On another release the text is drawn by that system's font rendering (Ubuntu's smooths it otherwise):
# there the window must have the same size.
as_large() { client "$work/installed.ppm" && [ "$(size "$work/installed.ppm")" = "$(size "$work/expected.ppm")" ]; }
same=like_expected alike="identical to the program built here"
[ "$system" = "$(this_system)" ] || same=as_large alike="as large as the program built here"
wait_until 60 "$same" || {
    differing=$(differing "$work/expected.ppm" "$work/installed.ppm")
    cp "$work/installed.ppm" "$work/expected.ppm" "$build/" 2>/dev/null || true
    fail "the installed window is not $alike: $differing pixels differ, $(size "$work/installed.ppm") (pictures in $build)"
}
wmctrl -c Form1
wait_for_exit 20
[ -f "$root/root/Zadrin.ini" ] || fail "settings were not kept in the home directory"
echo "installed on a clean $system: window shown, $alike, settings kept"
