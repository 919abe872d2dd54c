#!/usr/bin/env bash
# The Debian package: its contents, its dependencies, its desktop entry, and that the program it
# installs starts from the desktop entry in the user's home and keeps its settings there.
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/lib.sh"

needs cpack dpkg-deb lintian objdump identify desktop-file-validate appstreamcli
work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$work"/out/zadrin_*.deb)
echo "built $(basename "$deb")"

contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t)
id=org.example.zadrin
files=(./usr/bin/zadrin ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
       ./usr/share/icons/hicolor/scalable/apps/$id.svg
       ./usr/share/doc/zadrin/copyright ./usr/share/doc/zadrin/changelog.gz ./usr/share/man/man1/zadrin.1.gz)
for size in 16 24 32 48 64 128 256; do files+=("./usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
for file in "${files[@]}"; do
    grep -qx -e "$file" <<<"$contents" || fail "package lacks $file"
done
[ "$(grep -vc '/$' <<<"$contents")" -eq "${#files[@]}" ] || fail "package holds more files than expected: $contents"

# Debian's own checks: no error, no warning.
TMPDIR="$work" lintian --fail-on error,warning "$deb" || fail "lintian found faults" # its files go with ours

# Every library the program links must come from a package the package depends on.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
dpkg -x "$deb" "$work/root"
program="$work/root/usr/bin/zadrin"
for library in $(objdump -p "$program" | awk '/NEEDED/ { print $2 }'); do
    path=$(ldd "$program" | awk -v lib="$library" '$1 == lib { print $3 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null || true)
    owner=${owner%%:*}
    [ -n "$owner" ] || fail "no package provides $library"
    grep -qxF -e "$owner" <<<"$names" || fail "$library comes from $owner, which is not a dependency"
done
for runtime in qt6-qpa-plugins fonts-dejavu-core; do
    grep -qxF -e "$runtime" <<<"$names" || fail "$runtime is not a dependency"
done

for size in 16 24 32 48 64 128 256; do
    expect "icon of ${size}px" "$(identify -format '%wx%h' "$work/root/usr/share/icons/hicolor/${size}x$size/apps/$id.png")" \
        "${size}x$size"
done
desktop-file-validate "$work/root/usr/share/applications/$id.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$work/root/usr/share/applications/$id.desktop")

# Software centres: the description validates with nothing to say, and a catalogue made of the installed
# tree takes it, icon included.
validation=$(appstreamcli validate --pedantic --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "the software centres' description does not validate: $validation"
# Nothing to say: no error, warning, info or pedantic line, but for
# two notes on the developer's name, which appstream 0.16 (Debian 12) and 1.0 want in different tags: the
# file has both, so each version's software centres show it, and each version notes the other's tag.
let_through=': (unknown-tag developer|developer-name-tag-deprecated)$'
said=$(grep -E '^[EWIP]: ' <<<"$validation" | grep -vE -e "$let_through" || true)
[ -z "$said" ] || fail "the validator has something to say: $validation"
appstreamcli compose --no-net --origin=zadrin --result-root="$work/catalogue" "$work/root" >"$work/compose.log" 2>&1 ||
    { cat "$work/compose.log"; fail "a catalogue of the installed tree could not be made"; }
zcat "$work/catalogue/usr/share/swcatalog/xml/zadrin.xml.gz" | grep -q "<id>$id</id>" ||
    { cat "$work/compose.log"; fail "the catalogue does not list Zadrin"; }
zcat "$work/catalogue/usr/share/swcatalog/xml/zadrin.xml.gz" | grep -q '<icon type="cached"' ||
    { cat "$work/compose.log"; fail "the catalogue has no icon for Zadrin"; }
echo "desktop entry runs: $exec_line"

# Start it as the desktop would, with the installed program first on the PATH, from somewhere else.
mkdir -p "$work/home" "$work/elsewhere"
start_window_manager
(cd "$work/elsewhere" && HOME="$work/home" PATH="$work/root/usr/bin:$PATH" eval "exec \"\${with_default_signals[@]}\" $exec_line") \
    >"$work/program.log" 2>&1 &
APP_PID=$!
wait_until 30 xdotool search --onlyvisible --name '^Form1$' || fail "the installed program showed no window"
wmctrl -c Form1
wait_for_exit 20
[ -f "$work/home/Zadrin.ini" ] || fail "settings were not kept in the home directory"
[ ! -e "$work/elsewhere/Zadrin.ini" ] || fail "settings went to the launcher's directory"
echo "installed program started in the home directory and kept its settings there"
