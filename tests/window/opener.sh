#!/usr/bin/env bash
# What the link hands to the desktop: the URL opener the program starts holds none of the program's
# descriptors but 0–2, and gets the environment without the program's own allocator settings. And where
# the environment loses those settings at every start, the program starts itself anew once at the most
# and still shows its window; where it cannot tell whether it started anew, it does not.
set -euo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
. "$here/lib.sh"

work=$(mktemp -d)
trap 'stop_everything; [ -f "$work/opener.pid" ] && kill "$(cat "$work/opener.pid")" 2>/dev/null || true; rm -rf "$work"' EXIT
# In a folder whose path holds no space, as LD_PRELOAD needs.
tunables_lost="$work/tunables_lost.so"
cp "$2" "$tunables_lost"

# A stand-in URL opener: notes its process and waits to be looked at, as "sleep 300".
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<STANDIN
#!/bin/sh
echo \$\$ >"$work/opener.pid.part" && mv "$work/opener.pid.part" "$work/opener.pid"
exec sleep 300
STANDIN
chmod +x "$work/bin/xdg-open"
# The program started with 0–2 alone, so that whatever more the opener holds comes from the program.
cat >"$work/bare" <<'BARE'
#!/usr/bin/env bash
for fd in /proc/$$/fd/*; do
    fd=${fd##*/}
    ((fd > 2)) && eval "exec $fd>&-"
done
exec "$@"
BARE
chmod +x "$work/bare"

start_window_manager
export PATH="$work/bin:$PATH"
unset BROWSER DEFAULT_BROWSER
ZADRIN_RUNNER="$work/bare" start_program "$program" "$work"
click_at 40 406 # the link
wait_until 60 test -s "$work/opener.pid" || fail "the link started no URL opener"
opener=$(cat "$work/opener.pid")
# Its last step is known by its command line, whichever program on this system sleeps.
waiting() { [ "$(tr '\0' ' ' <"/proc/$opener/cmdline")" = "sleep 300 " ]; }
wait_until 30 waiting || fail "the stand-in opener did not get going"
held=$(cd "/proc/$opener/fd" && for fd in *; do ((fd > 2)) && echo "$fd -> $(readlink "$fd")"; done || true)
[ -z "$held" ] || fail "the URL opener holds the program's descriptors: $held"
tr '\0' '\n' <"/proc/$opener/environ" | grep -q 'glibc.malloc' && fail "the URL opener got the allocator settings"
xdotool key --clearmodifiers alt+b
wait_for_exit 20
echo "the URL opener holds only 0-2 and the environment as given"

# Starts the program with its tunables lost at every start (and SETTINGS, NAME=VALUE, in its environment),
# checks that its window shows and that it started COUNT times, and closes it.
starts_without_tunables() {
    local count=$1
    shift
    rm -f "$work/starts"
    ZADRIN_RUNNER="$work/bare env LD_PRELOAD=$tunables_lost ZADRIN_STARTS=$work/starts $* ASAN_OPTIONS=verify_asan_link_order=0" \
        start_program "$program" "$work"
    expect "starts of the program" "$(grep -cxF -e "$program" "$work/starts")" "$count"
    xdotool key --clearmodifiers alt+b
    wait_for_exit 20
}
echo "tunables lost at every start: started anew once, window shown"
starts_without_tunables 2
echo "tunables lost, and no way to tell whether it started anew: not started anew, window shown"
starts_without_tunables 1 ZADRIN_NO_FD_LIST=1
