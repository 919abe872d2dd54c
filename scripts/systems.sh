# Sourced by scripts that make a minimal system of one of the releases Zadrin is built on, to run its
# commands or its package there as a new user would (known_systems; the running system's name is its ID and
# VERSION_ID, see this_system). Needs root and mmdebstrap.

# The systems these scripts make, by the names they take. Debian testing is an early warning, not a promise.
known_systems=(debian12 debian13 ubuntu24.04 ubuntu26.04 debian-testing)

# Fails, naming the known ones, unless NAME is one of known_systems: a name becomes part of paths.
known_system() {
    local system
    for system in "${known_systems[@]}"; do [ "$1" = "$system" ] && return 0; done
    echo "no minimal system '$1' is known (${known_systems[*]})" >&2
    return 1
}

# The running system's name, as the functions below take it (debian12, ubuntu26.04, …; Debian's testing has no
# version of its own).
this_system() { (. /etc/os-release && echo "$ID${VERSION_ID:--testing}"); }

# The package archive of SYSTEM (a known one: make_system checks) as sources.list lines: release, updates
# and security.
system_sources() {
    local suite= archive
    case $1 in
    debian12) suite=bookworm ;;
    debian13) suite=trixie ;;
    debian-testing) suite=testing ;;
    ubuntu24.04) suite=noble ;;
    ubuntu26.04) suite=resolute ;;
    esac
    case $1 in
    debian*)
        echo "deb http://deb.debian.org/debian $suite main"
        echo "deb http://deb.debian.org/debian $suite-updates main"
        echo "deb http://deb.debian.org/debian-security $suite-security main"
        ;;
    ubuntu*)
        for archive in "$suite" "$suite-updates" "$suite-security"; do
            echo "deb http://archive.ubuntu.com/ubuntu $archive main universe"
        done
        ;;
    esac
}

# Ubuntu's archive key ("Ubuntu Archive Automatic Signing Key (2018)", which signs 24.04 and 26.04), trusted
# by its published fingerprint: Debian does not package it.
ubuntu_fingerprint=F6ECB3762474EDA9D21B7022871920D1991BC93C

# Downloads URL to FILE with apt's own helper, which every system with apt has.
fetch() { /usr/lib/apt/apt-helper -o APT::Sandbox::User=root download-file "$1" "$2" >/dev/null; }

# Writes to OUT the key of KEYRING whose own fingerprint is FINGERPRINT, and nothing else; fails unless
# KEYRING holds exactly one such key. gpg exports a key for a fingerprint that only one of its subkeys has,
# and then the whole block with its primary key: a block of anyone's key with the pinned key bound to it as a
# subkey would be trusted whole. So what is exported must be one primary key, the pinned one.
pinned_key() {
    local keyring=$1 fingerprint=$2 out=$3 home primaries
    home=$(mktemp -d)
    local gpg=(gpg --homedir "$home" --batch --quiet --no-autostart)
    "${gpg[@]}" --import "$keyring" 2>/dev/null || true # a keyring may hold keys gpg no longer takes
    "${gpg[@]}" --export "$fingerprint" >"$out"
    primaries=$("${gpg[@]}" --with-colons --show-keys "$out" 2>/dev/null |
        awk -F: '$1 == "pub" { primary = 1; next } $1 == "fpr" && primary { print $10 } { primary = 0 }')
    rm -rf "$home"
    [ "$primaries" = "$fingerprint" ] && return
    rm -f "$out"
    echo "the keyring does not hold exactly one key $fingerprint of its own (primary keys exported: ${primaries:-none})" >&2
    return 1
}

# A keyring that holds Ubuntu's key alone, made in FOLDER from Ubuntu's keyring (the system's, or the one in
# Ubuntu's keyring package, fetched from its archive). Prints its path.
ubuntu_keyring() {
    local folder=$1 archive=http://archive.ubuntu.com/ubuntu keyring=/usr/share/keyrings/ubuntu-archive-keyring.gpg deb
    mkdir -p "$folder"
    if [ ! -f "$keyring" ]; then
        fetch "$archive/dists/noble/main/binary-amd64/Packages.gz" "$folder/Packages.gz" || return 1
        deb=$(zcat "$folder/Packages.gz" | awk '/^Package: / { p = $2 } p == "ubuntu-keyring" && /^Filename: / { print $2; exit }')
        [ -n "$deb" ] || { echo "Ubuntu's keyring package was not found in its archive" >&2 && return 1; }
        fetch "$archive/$deb" "$folder/keyring.deb" || return 1
        dpkg-deb -x "$folder/keyring.deb" "$folder/keyring"
        keyring=$folder/keyring/usr/share/keyrings/ubuntu-archive-keyring.gpg
    fi
    pinned_key "$keyring" "$ubuntu_fingerprint" "$folder/ubuntu-archive.gpg" || return 1
    echo "$folder/ubuntu-archive.gpg"
}

# Makes a minimal SYSTEM (mmdebstrap, minbase, with apt, no locale) in FOLDER; further mmdebstrap options
# (--include, hooks) follow. Its output goes to FOLDER.log; fails with its end. Nothing may be mounted in
# FOLDER: see own_mounts.
make_system() {
    local system=$1 folder=$2 options=(--variant=minbase --mode=root --include=apt) keyring
    shift 2
    known_system "$system" || return 1
    removable "$folder" || return 1
    rm -rf --one-file-system "$folder" "$folder.keys"
    mkdir -p "$(dirname "$folder")"
    case $system in
    ubuntu*)
        keyring=$(ubuntu_keyring "$folder.keys") || return 1
        options+=(--include=ubuntu-keyring --keyring="$keyring")
        ;;
    esac
    system_sources "$system" >"$folder.list" || return 1
    mmdebstrap "${options[@]}" "$@" "$(suite_of "$folder.list")" "$folder" "$folder.list" >"$folder.log" 2>&1 ||
        { tail -n 20 "$folder.log" >&2 && return 1; }
    rm -rf "$folder.keys" "$folder.list"
}

# The release's suite in a sources.list: the first line's third word.
suite_of() { awk 'NR == 1 { print $3 }' "$1"; }

# Whether anything is mounted at or under FOLDER.
mounted_under() {
    local folder
    folder=$(realpath -m -- "$1")
    awk -v folder="$folder/" '{ gsub(/\\040/, " ", $5) } index($5 "/", folder) == 1 { found = 1 } END { exit !found }' \
        /proc/self/mountinfo
}
# Fails, saying so, where FOLDER may not be removed: something is mounted in it (a bind of this machine's
# folders, which rm would empty).
removable() {
    ! mounted_under "$1" && return
    echo "something is mounted in $1: it is not removed" >&2
    return 1
}

# Runs the calling script (with ARGS, its own) anew in a mount namespace of its own, unless it runs in one
# already: what it mounts into a system is then seen by it alone, and goes with its last process, however it
# ends (CI's time limit sends SIGKILL), so that no mount outlives a run and a reused system gains none. The
# mark is the script's own process number, which exec keeps and no other script has. Call it first thing.
# In a chroot, whose / is no mount of its own, the propagation cannot be set: there the namespace keeps that
# of the one around it, which is private where a run of these scripts made the chroot (check-on, as-new-user).
own_mounts() {
    [ "${ZADRIN_OWN_MOUNTS:-}" = $$ ] && return
    exec env ZADRIN_OWN_MOUNTS=$$ unshare --mount --propagation "$(propagation)" -- "$0" "$@"
}
propagation() { unshare --mount --propagation private true 2>/dev/null && echo private || echo unchanged; }

# Mounts what programs in the system at FOLDER need (/proc, /sys, /dev) and gives it the name server;
# each mount is noted in "mounted", for leave_systems (a caller's exit trap) to undo, last first. Only in a
# script that called own_mounts.
mounted=()
leave_systems() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    mounted=()
}
enter_system() {
    [ "${ZADRIN_OWN_MOUNTS:-}" = $$ ] || { echo "enter_system: not in a mount namespace of its own (own_mounts)" >&2 && return 1; }
    name_server "$1" || return 1
    local place
    for place in proc sys dev dev/pts dev/shm; do
        mount --bind "/$place" "$1/$place"
        mounted+=("$1/$place")
    done
}

# Gives the system at FOLDER this machine's name server: its /etc/resolv.conf becomes a file of its own, a link
# there (to its own resolver, or anywhere) is replaced, not followed, and a system whose /etc is not a folder
# of its own is refused.
name_server() {
    local etc=$1/etc
    [ -d "$etc" ] && [ ! -L "$etc" ] || { echo "$etc is not a folder of the system's own" >&2 && return 1; }
    rm -f "$etc/resolv.conf"
    cp /etc/resolv.conf "$etc/resolv.conf"
}

# Runs COMMAND in FOLDER of the system at SYSTEM as USER whose home is HOME, as a login shell leaves it:
# no locale, the user's PATH (no /usr/sbin, also for root, as Debian's plain su gives it); CI passed on.
run_in_system() {
    local system=$1 user=$2 home=$3 folder=$4
    shift 4
    chroot --userspec="$user:$user" "$system" env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin TERM=dumb \
        ${CI:+CI="$CI"} bash -c 'cd "$1" && shift && exec "$@"' _ "$folder" "$@" </dev/null
}
