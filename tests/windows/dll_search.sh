#!/usr/bin/env bash
# A DLL left in the folder a program is started from (a download folder) must not run inside it. Next to
# zadrin.exe, and next to its installer, lie stand-ins for every DLL zadrin.exe uses that is not one of
# Windows' KnownDLLs, each with the functions of the real one and noting when it is loaded; Wine is told
# to prefer a DLL in the program's folder, as Windows does. Wine's own system DLLs load some of these
# names from there whatever the program does: a bare Windows program shows which. Beyond those, no
# stand-in may be loaded, and both programs still work.
set -euo pipefail
program=$(realpath "$1") setup=$(realpath "$2")
IFS=, read -r -a dlls <<<"$3" # the DLLs the build loads on first use
. "$(dirname "$(realpath "$0")")/../window/lib.sh"
work=$(mktemp -d)
trap 'stop_everything; rm -rf "$work"' EXIT

((${#dlls[@]} > 0)) || fail "no list of DLLs loaded on first use"
lib=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")/../../../../x86_64-w64-mingw32/lib
cat >"$work/standin.c" <<'STANDIN'
#include <windows.h>
/* Notes its loading as NAME.loaded next to itself. */
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH + 8];
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
        lstrcpyA(path + length, ".loaded");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
DWORD_PTR WINAPI Stand_in(void) { return 0; }
STANDIN
mkdir -p "$work/folder"
for dll in "${dlls[@]}"; do
    { echo "LIBRARY $dll.dll"; echo EXPORTS
      x86_64-w64-mingw32-nm "$lib/lib$dll.a" | awk '$2 == "I" && $3 ~ /^__imp_/ { sub(/^__imp_/, "", $3); print $3 "=Stand_in" }' |
          sort -u; } >"$work/$dll.def"
    x86_64-w64-mingw32-gcc-posix -shared -o "$work/folder/$dll.dll" "$work/standin.c" "$work/$dll.def"
done
printf '#include <windows.h>\nint main(void) { return GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1; }\n' >"$work/bare.c"
x86_64-w64-mingw32-gcc-posix -o "$work/folder/bare.exe" "$work/bare.c"
export WINEDLLOVERRIDES="$(IFS=,; echo "${dlls[*]}")=n,b"
# The stand-ins loaded since the last call, one a line; forgets them.
loaded() {
    (cd "$work/folder" && for marker in *.loaded; do [ -e "$marker" ] && echo "${marker%.dll.loaded}" && rm "$marker"; done) |
        tr '[:upper:]' '[:lower:]' | sort -u
}
beyond_wine() { comm -23 <(echo "$1") <(echo "$wines_own"); }

(cd "$work/folder" && wine bare.exe) || fail "the bare program did not run"
wines_own=$(loaded)
echo "Wine's own DLLs load from the program's folder: $(echo $wines_own)"

cp "$program" "$work/folder/zadrin.exe"
start_window_manager
ZADRIN_RUNNER=wine start_program "$work/folder/zadrin.exe" "$work/folder"
click_at 157 36 # Key erzeugen: the program works
[ -n "$(text_at 132 130)" ] || fail "zadrin.exe made no key"
xdotool key --clearmodifiers alt+b
wait_for_exit 30
beyond=$(beyond_wine "$(loaded)")
[ -z "$beyond" ] || fail "zadrin.exe loaded DLLs from its folder: $(echo $beyond)"

cp "$setup" "$work/folder/setup.exe"
(cd "$work/folder" && wine setup.exe /S) || fail "the installer did not install"
wineserver --wait
beyond=$(beyond_wine "$(loaded)")
[ -z "$beyond" ] || fail "the installer loaded DLLs from its folder: $(echo $beyond)"
programs=$(winepath -u "$(wine cmd /c echo '%LOCALAPPDATA%' 2>/dev/null | tr -d '\r')")/Programs/Zadrin
wine "$programs/uninstall.exe" /S
echo "no DLL from the program's folder ran in zadrin.exe or its installer beyond what Wine itself loads"
