#!/usr/bin/env bash
# The Windows downloads under Wine: the installer installs silently for the user alone, its Start-menu
# entry starts Zadrin in %APPDATA%\Zadrin (where Zadrin.ini then is), and the silent uninstaller removes
# the program but leaves Zadrin.ini; the zip holds zadrin.exe alone, the same file the installer installs.
set -euo pipefail
setup=$(realpath "$1") zip=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
. "$here/../window/lib.sh"
work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT

unix_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
appdata=$(unix_path '%APPDATA%')
programs=$(unix_path '%LOCALAPPDATA%')/Programs/Zadrin
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Zadrin.lnk"
rm -rf "$programs" "$shortcut" "$appdata/Zadrin"

unzip -Z1 "$zip" | grep -qx zadrin.exe && [ "$(unzip -Z1 "$zip" | wc -l)" -eq 1 ] || fail "the zip holds more than zadrin.exe"
unzip -q "$zip" -d "$work/zip"

wine "$setup" /S
wait_until 60 test -f "$programs/uninstall.exe" || fail "the installer installed nothing in $programs"
cmp -s "$programs/zadrin.exe" "$work/zip/zadrin.exe" || fail "installer and zip hold different programs"
[ -f "$shortcut" ] || fail "no Start-menu entry"
python3 - "$shortcut" <<'PYTHON' || fail "the Start-menu entry does not start Zadrin in %APPDATA%\\Zadrin"
import sys
link = open(sys.argv[1], "rb").read()
assert "AppData\\Roaming\\Zadrin".encode("utf-16-le") in link or b"AppData\\Roaming\\Zadrin" in link
PYTHON

echo "started from the Start-menu entry"
start_window_manager
wine start /unix "$shortcut" # as a click on it: Windows starts the program and returns
wait_until 30 xdotool search --onlyvisible --name '^Form1$' || fail "no window appeared"
WINDOW=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
wait_until 10 xdotool windowactivate --sync "$WINDOW"
xdotool key --clearmodifiers alt+b
wait_until 30 bash -c '! pgrep -f "[P]rograms.Zadrin.zadrin.exe"' || fail "the program did not end"
[ -f "$appdata/Zadrin/Zadrin.ini" ] || fail "Zadrin.ini is not in %APPDATA%\\Zadrin"

wine "$programs/uninstall.exe" /S
wait_until 60 bash -c "[ ! -e '$programs/zadrin.exe' ]" || fail "the uninstaller left the program"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
[ -f "$appdata/Zadrin/Zadrin.ini" ] || fail "the uninstaller removed the user's Zadrin.ini"
echo "installer, Start-menu entry, uninstaller and zip as they should be"
