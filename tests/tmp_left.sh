#!/usr/bin/env bash
# Tests leave nothing behind in the temporary folder. "note LIST" writes down what is there before the
# tests; "check LIST" fails on whatever is there now and was not before, whoever owns it (a test may run the
# program as another user). X servers' own
# sockets and locks and a compiler's passing temporaries (another build on the same machine) do not count.
set -euo pipefail
mode=$1 list=$2
tmp=${TMPDIR:-/tmp}
entries() { find "$tmp" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort; }
case $mode in
note) entries >"$list" ;;
check)
    left=$(entries | comm -13 "$list" - | grep -Ev '^(\.X[0-9]+-lock|\.X11-unix|\.ICE-unix|cc[[:alnum:]]{6}\..*)$' || true)
    rm -f "$list"
    if [ -n "$left" ]; then
        echo "FAIL: left behind in $tmp:"
        while read -r entry; do # with what it holds, to tell which test left it
            echo "  $entry: $(ls -A "$tmp/$entry" 2>/dev/null | head -n 5 | tr '\n' ' ')"
        done <<<"$left"
        exit 1
    fi
    echo "nothing left behind in $tmp"
    ;;
esac
