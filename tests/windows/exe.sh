#!/usr/bin/env bash
# The built zadrin.exe as a bare Windows gets it: it needs no DLL but Windows' own, and those it imports
# are KnownDLLs, which Windows takes from the system folder alone; every other DLL (DELAYED, the build's
# list, comma-separated) it loads on first use, when it has told Windows where to look. It carries its
# icon (32×32, 16 colours) and its version block in German (Germany), code page 1252.
set -euo pipefail
exe=$1
IFS=, read -r -a delayed <<<"$2"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Windows 10's and 11's KnownDLLs (HKLM\System\CurrentControlSet\Control\Session Manager\KnownDLLs).
known_dlls="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
    normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
echo "imports: $(tr '\n' ' ' <<<"$imports")"
for dll in $imports; do
    name=${dll%.dll}
    [[ $name == api-ms-win-* ]] && continue # API sets: names Windows resolves itself, never from a folder
    grep -qw -- "$name" <<<"$known_dlls" ||
        fail "$dll is imported at start but is no KnownDLL: it would be looked for next to the program first"
done
((${#delayed[@]} > 0)) || fail "no list of DLLs loaded on first use"
for name in "${delayed[@]}"; do
    grep -qai -- "$name\.dll" "$exe" || fail "$name.dll, to be loaded on first use, is not named in the program"
done
echo "loaded on first use: ${delayed[*]}"

resources=$(mktemp -d)
trap 'rm -rf "$resources"' EXIT
wrestool -x --raw -t 16 "$exe" >"$resources/version.bin" || fail "no version block"
python3 - "$resources/version.bin" <<'PYTHON' || fail "the version block is not as it should be"
import struct, sys
data = open(sys.argv[1], "rb").read()
text = data.decode("utf-16-le", errors="replace")

def value(key):  # a string entry: its key, padding, then its value, each ended by NUL
    at = text.index(key + "\0") + len(key)
    while text[at] == "\0":
        at += 1
    return text[at:text.index("\0", at)]

expected = {"FileDescription": "Paßwortgenerator", "FileVersion": "2.0.0.0", "ProductVersion": "1.0.0.0",
            "ProductName": "Zadrin", "OriginalFilename": "zadrin.exe"}
for key, wanted in expected.items():
    assert value(key) == wanted, f"{key}: {value(key)!r}"
assert "040704E4\0" in text, "string table not German (Germany), code page 1252"
fixed = data.index(struct.pack("<I", 0xFEEF04BD))
ms, ls, pms, pls = struct.unpack_from("<4I", data, fixed + 8)
numbers = lambda hi, lo: (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
assert numbers(ms, ls) == (2, 0, 0, 0), numbers(ms, ls)
assert numbers(pms, pls) == (2, 0, 0, 0), numbers(pms, pls)
translation = data.index("Translation".encode("utf-16-le"))
assert struct.pack("<HH", 0x0407, 1252) in data[translation:], "translation not 0407/1252"
PYTHON
wrestool -l -t 16 "$exe" | grep -q "language=1031" || fail "the version block is not filed as German (Germany)"

wrestool -x -t 14 "$exe" >"$resources/icon.ico" || fail "no icon"
icotool -l "$resources/icon.ico" | grep -q -- "--width=32 --height=32 --bit-depth=4" ||
    fail "the icon is not 32×32 with 16 colours: $(icotool -l "$resources/icon.ico")"

# The manifest: run as the user who starts it, a program for Windows 10 and 11, aware of each monitor's scale.
wrestool -x --raw -t 24 -n 1 "$exe" >"$resources/manifest.xml" || fail "no manifest"
python3 - "$resources/manifest.xml" <<'PYTHON' || fail "the manifest is not as it should be"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
def find(name):
    found = [e for e in root.iter() if e.tag.split("}")[-1] == name]
    assert found, f"no {name}"
    return found[0]
assert find("requestedExecutionLevel").get("level") == "asInvoker"
assert find("supportedOS").get("Id") == "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"  # Windows 10 and 11
assert find("dpiAwareness").text.split(",")[0].strip() == "PerMonitorV2"
assert find("assemblyIdentity").get("version") == "2.0.0.0"
PYTHON
echo "zadrin.exe: Windows' own DLLs only, German version block, 32×32 16-colour icon, manifest"
