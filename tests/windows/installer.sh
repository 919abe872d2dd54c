#!/usr/bin/env bash
# The Windows downloads under Wine: the installer installs silently for the user alone, its Start-menu
# entry starts Zadrin in %APPDATA%\Zadrin (where Zadrin.ini then is), and the silent uninstaller removes
# the program but leaves Zadrin.ini; the zip holds zadrin.exe alone, the same file the installer installs.
# Installed again over itself or over an older version, it replaces the program and keeps the settings
# and the Start-menu entry; with the program running, it says so and changes nothing. Its entry in the
# system's app list names publisher, size, web page and the folder, where an upgrade then goes (an older
# version in a folder of the user's choice). The uninstaller, too, changes nothing while the program runs,
# and leaves nothing behind but Zadrin.ini.
set -euo pipefail
setup=$(realpath "$1") zip=$(realpath "$2") older=$(realpath "$3")
here=$(dirname "$(realpath "$0")")
. "$here/../window/lib.sh"
work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT

unix_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
appdata=$(unix_path '%APPDATA%')
programs=$(unix_path '%LOCALAPPDATA%')/Programs/Zadrin
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Zadrin.lnk"
rm -rf "$programs" "$shortcut" "$appdata/Zadrin"

# Whether the Start-menu entry names TEXT, as Windows stores a path there (UTF-16 or the code page).
shortcut_names() {
    python3 - "$shortcut" "$1" <<'PYTHON'
import sys
link, text = open(sys.argv[1], "rb").read(), sys.argv[2]
sys.exit(0 if text.encode("utf-16-le") in link or text.encode() in link else 1)
PYTHON
}
# Closes the running Zadrin with Alt+B as a user does; waits until no process matches PATTERN (pgrep -f).
close_zadrin() {
    WINDOW=$(xdotool search --onlyvisible --name '^Form1$' | head -n 1)
    wait_until 10 bounded xdotool windowactivate --sync "$WINDOW"
    xdotool key --clearmodifiers alt+b
    wait_until 30 bash -c '! pgrep -f -- "$1"' _ "$1" || fail "the program did not end"
}

unzip -Z1 "$zip" | grep -qx zadrin.exe && [ "$(unzip -Z1 "$zip" | wc -l)" -eq 1 ] || fail "the zip holds more than zadrin.exe"
unzip -q "$zip" -d "$work/zip"

wine "$setup" /S
wait_until 60 test -f "$programs/uninstall.exe" || fail "the installer installed nothing in $programs"
cmp -s "$programs/zadrin.exe" "$work/zip/zadrin.exe" || fail "installer and zip hold different programs"
[ -f "$shortcut" ] || fail "no Start-menu entry"
shortcut_names 'AppData\Roaming\Zadrin' || fail "the Start-menu entry does not start Zadrin in %APPDATA%\\Zadrin"

echo "started from the Start-menu entry"
start_window_manager
wine start /unix "$shortcut" # as a click on it: Windows starts the program and returns
wait_until 30 xdotool search --onlyvisible --name '^Form1$' || fail "no window appeared"
close_zadrin "[P]rograms.Zadrin.zadrin.exe"
[ -f "$appdata/Zadrin/Zadrin.ini" ] || fail "Zadrin.ini is not in %APPDATA%\\Zadrin"

# The entry in the system's app list.
entry() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zadrin' /v "$1" 2>/dev/null |
    tr -d '\r' | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
expect "publisher" "$(entry Publisher)" "Zadrin"
expect "web page" "$(entry URLInfoAbout)" "https://zadrin.example"
size=$(entry EstimatedSize)
(($(printf '%d' "$size") * 1024 >= $(stat -c %s "$programs/zadrin.exe"))) || fail "estimated size $size is less than the program"

echo "installed again over itself, and over an older version"
printf '[Option]\r\nL=12\r\n' >"$appdata/Zadrin/Zadrin.ini"
for installer in "$setup" "$older" "$setup"; do
    wine "$installer" /S || fail "$(basename "$installer") did not install over what was there"
    wineserver --wait
    [ -f "$shortcut" ] || fail "$(basename "$installer") lost the Start-menu entry"
    expect "settings kept" "$(cat "$appdata/Zadrin/Zadrin.ini")" "$(printf '[Option]\r\nL=12\r')"
    # The older installer carries a program of its own: each time, the program is the installer's.
    same=0
    cmp -s "$programs/zadrin.exe" "$work/zip/zadrin.exe" || same=1
    expect "program of $(basename "$installer") installed" "$same" "$([ "$installer" = "$older" ] && echo 1 || echo 0)"
done
expect "version in the app list" "$(entry DisplayVersion)" "2.0.0.0"

echo "installing while the program runs"
wine start /unix "$shortcut"
wait_until 30 xdotool search --onlyvisible --name '^Form1$' || fail "no window appeared"
status=0
wine "$setup" /S || status=$?
expect "status of an installation over the running program" "$status" 2
xdotool search --onlyvisible --name '^Form1$' >/dev/null || fail "the running program was ended"
close_zadrin "[P]rograms.Zadrin.zadrin.exe"

wine "$programs/uninstall.exe" /S
wait_until 60 bash -c "[ ! -e '$programs' ]" || fail "the uninstaller left the program's folder"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
[ -f "$appdata/Zadrin/Zadrin.ini" ] || fail "the uninstaller removed the user's Zadrin.ini"

echo "an older version in a folder of the user's choice, upgraded where it is"
custom_windows='C:\Werkzeuge\Zadrin' # silently (/D=), the folder can hold no space
custom=$(winepath -u "$custom_windows")
rm -rf "$custom"
wine "$older" /S "/D=$custom_windows"
wineserver --wait
[ -f "$custom/uninstall.exe" ] || fail "the older version was not installed into $custom_windows"
wine "$setup" /S || fail "the upgrade did not install"
wineserver --wait
cmp -s "$custom/zadrin.exe" "$work/zip/zadrin.exe" || fail "the upgrade did not replace the program in $custom_windows"
[ ! -e "$programs" ] || fail "the upgrade put a second copy into the default folder"
expect "folder in the app list" "$(entry InstallLocation)" "$custom_windows"
shortcut_names 'Werkzeuge\Zadrin\zadrin.exe' || fail "the Start-menu entry does not start the program in $custom_windows"

echo "uninstalling while the program runs"
wine start /unix "$shortcut"
wait_until 30 xdotool search --onlyvisible --name '^Form1$' || fail "no window appeared"
status=0
wine "$custom/uninstall.exe" /S "_?=$custom_windows" || status=$? # in place, so that its status is its own
expect "status of uninstalling the running program" "$status" 2
[ -f "$custom/zadrin.exe" ] && [ -f "$shortcut" ] && [ -n "$(entry DisplayName)" ] ||
    fail "uninstalling the running program removed something"
close_zadrin "[W]erkzeuge.Zadrin.zadrin.exe"
wine "$custom/uninstall.exe" /S
wait_until 60 bash -c '[ ! -e "$1" ]' _ "$custom" || fail "the uninstaller left $custom_windows: $(ls -A "$custom")"
[ ! -e "$shortcut" ] && [ -z "$(entry DisplayName)" ] || fail "the uninstaller left the Start-menu entry or the app list's"
expect "what is left in %APPDATA%\\Zadrin" "$(ls -A "$appdata/Zadrin")" "Zadrin.ini"

echo "without settings, nothing is left"
rm "$appdata/Zadrin/Zadrin.ini"
wine "$setup" /S
wineserver --wait
wine "$programs/uninstall.exe" /S
wait_until 60 bash -c '[ ! -e "$1" ] && [ ! -e "$2" ]' _ "$programs" "$appdata/Zadrin" ||
    fail "the uninstaller left the program's folder or an empty %APPDATA%\\Zadrin"
echo "installer, Start-menu entry, uninstaller and zip as they should be"
