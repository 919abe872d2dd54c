#!/usr/bin/env bash
# The scripts that make minimal systems (scripts/systems.sh, as-new-user, check-on) cannot be fooled into
# harm: a key block in which Ubuntu's key is only a subkey is refused; a system's name that is not a known one
# is refused before any path is made of it; a link in a system is not followed when its name server is
# written. As root besides: what a run mounts into a system is not this machine's and goes when the run is
# killed, a folder with a mount in it is not removed, and what root makes in a user's clone becomes the user's.
set -euo pipefail
root=$(cd "$(dirname "$(realpath "$0")")/.." && pwd)
. "$root/tests/window/lib.sh"
. "$root/scripts/systems.sh"
. "$root/scripts/clone-owner.sh"
needs gpg gpgconf unshare
work=$(mktemp -d)
trap 'gpgconf --homedir "$work/gnupg" --kill all 2>/dev/null || true
      gpgconf --homedir "$work/gnupg" --remove-socketdir 2>/dev/null || true
      [ -n "${holder:-}" ] && kill -KILL "$holder" 2>/dev/null || true
      stop_everything; rm -rf "$work"' EXIT

echo "a key is taken by its own fingerprint, never by a subkey's"
mkdir -m 700 "$work/gnupg"
key() {
    gpg --homedir "$work/gnupg" --batch --quiet --passphrase '' --pinentry-mode loopback \
        --faked-system-time '20200101T000000!' "$@" 2>/dev/null
}
field() { gpg --homedir "$work/gnupg" --quiet --with-colons --with-keygrip --list-keys "$1" | awk -F: -v f="$2" '$1 == f { print $10; exit }'; }
key --quick-gen-key 'Archive' ed25519 sign never
key --quick-gen-key 'Attacker' ed25519 sign never
archive=$(field Archive fpr)
# The attacker's key with the archive's bound to it as a subkey: the same fingerprint, another primary key.
printf 'addkey\n13\n%s\nQ\n0\nsave\n' "$(field Archive grp)" | key --expert --command-fd 0 --edit-key Attacker
expect "the forged block's subkey" "$(gpg --homedir "$work/gnupg" --with-colons --list-keys Attacker |
    awk -F: '$1 == "sub" { getline; print $10 }')" "$archive"
gpg --homedir "$work/gnupg" --export Archive >"$work/archive.gpg"
gpg --homedir "$work/gnupg" --export Attacker >"$work/forged.gpg"
cat "$work/archive.gpg" "$work/forged.gpg" >"$work/both.gpg"
pinned_key "$work/archive.gpg" "$archive" "$work/out.gpg" 2>/dev/null || fail "the archive's own key was refused"
expect "keys taken" "$(gpg --homedir "$work/gnupg" --with-colons --show-keys "$work/out.gpg" | awk -F: '$1 == "pub"' | wc -l)" 1
for keyring in forged both; do
    ! pinned_key "$work/$keyring.gpg" "$archive" "$work/out.gpg" 2>/dev/null || fail "the $keyring key block was taken"
    [ ! -e "$work/out.gpg" ] || fail "the $keyring key block left a keyring behind"
done

echo "a system's name is one of the known ones before it names a folder"
mkdir -p "$work/clone/build-new-user" "$work/victim" "$work/cache/zadrin/systems"
cp -r "$root/scripts" "$work/clone/"
touch "$work/victim/kept"
for script in as-new-user check-on; do
    for name in "$(realpath -m --relative-to="$work/clone/build-new-user" "$work/victim")" \
        "$(realpath -m --relative-to="$work/cache/zadrin/systems" "$work/victim")" debian12/.. ''; do
        status=0
        XDG_CACHE_HOME="$work/cache" "$work/clone/scripts/$script" "$name" </dev/null >/dev/null 2>&1 || status=$?
        expect "$script '$name': exit status" "$status" 2
        [ -f "$work/victim/kept" ] || fail "$script '$name' emptied a folder outside its own"
    done
done
expect "what the refused runs made" "$(find "$work/clone/build-new-user" "$work/cache/zadrin/systems" -mindepth 1 | wc -l)" 0

echo "a system's name server is written into the system, never through a link it holds"
[ -f /etc/resolv.conf ] || fail "this machine has no /etc/resolv.conf to hand on"
mkdir -p "$work/system/etc" "$work/elsewhere"
echo outside >"$work/elsewhere/file"
ln -s "$work/elsewhere/file" "$work/system/etc/resolv.conf"
name_server "$work/system" || fail "no name server given"
expect "the file outside" "$(cat "$work/elsewhere/file")" outside
[ ! -L "$work/system/etc/resolv.conf" ] && cmp -s /etc/resolv.conf "$work/system/etc/resolv.conf" ||
    fail "the system's resolv.conf is not this machine's, in a file of its own"
mkdir "$work/linked"
ln -s "$work/elsewhere" "$work/linked/etc"
! name_server "$work/linked" 2>/dev/null || fail "a system whose /etc is a link was given a name server"
expect "the folder the link leads to" "$(ls "$work/elsewhere")" file

if [ "$(id -u)" -ne 0 ]; then
    echo "mounts and ownership: skipped, they need root"
    exit 0
fi

echo "what a run mounts is its own, and goes when it is killed"
mkdir -p "$work/system"/{proc,sys,dev}
cat >"$work/holder" <<HOLDER
#!/usr/bin/env bash
. "$root/scripts/systems.sh"
own_mounts "\$@"
enter_system "$work/system"
echo \$\$ >"$work/holder.pid"
exec sleep 300
HOLDER
chmod +x "$work/holder"
"$work/holder" &
holder=$!
wait_until 60 test -s "$work/holder.pid" || fail "the run did not enter the system"
expect "the run's process" "$(cat "$work/holder.pid")" "$holder"
[ -e "$work/system/dev/null" ] && fail "the run's mounts are this machine's"
[ -e "/proc/$holder/root$work/system/dev/null" ] || fail "the run did not mount the system's /dev"
kill -KILL "$holder"
wait "$holder" 2>/dev/null || true
holder=
mounted_under "$work/system" && fail "a killed run left mounts behind"
unshare --mount --propagation "$(propagation)" bash -c '. "$1/scripts/systems.sh" && mount --bind /dev "$2/system/dev" &&
    ! removable "$2/system" 2>/dev/null && removable "$2/elsewhere"' _ "$root" "$work" ||
    fail "a folder with a mount in it counts as removable, or one without as not"

echo "what root makes in a user's clone becomes the user's, but for a link to a file of another's"
mkdir -p "$work/users/build/sub"
touch "$work/users/build/sub/file" "$work/rootfile"
ln "$work/rootfile" "$work/users/build/link"
chown 65534:65534 "$work/users"
(root="$work/users" && hand_back)
expect "root's files in the clone" "$(find "$work/users" -user 0 | sort | tr '\n' ' ')" "$work/users/build/link "
expect "the linked file's owner" "$(stat -c %u "$work/rootfile")" 0
echo "the system scripts refuse what would fool them"
