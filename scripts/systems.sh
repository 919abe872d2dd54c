# Sourced by scripts that make a minimal system of one of the releases Zadrin is built on, to run its
# commands or its package there as a new user would: debian12, debian13, ubuntu24.04 (the running system's
# name is its ID and VERSION_ID, see this_system). Needs root and mmdebstrap.

# The running system's name, as the functions below take it (debian12, ubuntu24.04, …).
this_system() { (. /etc/os-release && echo "$ID$VERSION_ID"); }

# The package archive of SYSTEM as sources.list lines: release, updates and security.
system_sources() {
    local suite= archive
    case $1 in
    debian12) suite=bookworm ;;
    debian13) suite=trixie ;;
    ubuntu24.04) suite=noble ;;
    esac
    # The running system names its own release.
    [ "$1" = "$(this_system)" ] && suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    [ -n "${suite:-}" ] || { echo "no minimal system of '$1' is known (debian12, debian13, ubuntu24.04)" >&2 && return 1; }
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
    *) echo "no archive of '$1' is known" >&2 && return 1 ;;
    esac
}

# Ubuntu's archive key ("Ubuntu Archive Automatic Signing Key (2018)"), trusted by its published
# fingerprint: Debian does not package it. Where the system has Ubuntu's keyring, that one is taken.
ubuntu_fingerprint=F6ECB3762474EDA9D21B7022871920D1991BC93C

# Downloads URL to FILE with apt's own helper, which every system with apt has.
fetch() { /usr/lib/apt/apt-helper -o APT::Sandbox::User=root download-file "$1" "$2" >/dev/null; }

# A keyring that holds that key alone, made in FOLDER from Ubuntu's keyring package, which is fetched from
# the archive: the key in it is taken only if its fingerprint is the published one. Prints its path.
ubuntu_keyring() {
    local folder=$1 archive=http://archive.ubuntu.com/ubuntu keyring=$1/ubuntu-archive.gpg deb
    if [ -f /usr/share/keyrings/ubuntu-archive-keyring.gpg ]; then
        echo /usr/share/keyrings/ubuntu-archive-keyring.gpg
        return
    fi
    mkdir -p "$folder/gnupg"
    chmod 700 "$folder/gnupg"
    fetch "$archive/dists/noble/main/binary-amd64/Packages.gz" "$folder/Packages.gz" || return 1
    deb=$(zcat "$folder/Packages.gz" | awk '/^Package: / { p = $2 } p == "ubuntu-keyring" && /^Filename: / { print $2; exit }')
    [ -n "$deb" ] || { echo "Ubuntu's keyring package was not found in its archive" >&2 && return 1; }
    fetch "$archive/$deb" "$folder/keyring.deb" || return 1
    dpkg-deb -x "$folder/keyring.deb" "$folder/keyring"
    gpg --homedir "$folder/gnupg" --quiet --no-default-keyring --keyring "$folder/keyring/usr/share/keyrings/ubuntu-archive-keyring.gpg" \
        --export "$ubuntu_fingerprint" >"$keyring"
    [ -s "$keyring" ] || { echo "Ubuntu's keyring holds no key $ubuntu_fingerprint" >&2 && return 1; }
    echo "$keyring"
}

# Makes a minimal SYSTEM (mmdebstrap, minbase, with apt, no locale) in FOLDER; further mmdebstrap options
# (--include, hooks) follow. Its output goes to FOLDER.log; fails with its end.
make_system() {
    local system=$1 folder=$2 options=(--variant=minbase --mode=root --include=apt)
    shift 2
    rm -rf --one-file-system "$folder"
    mkdir -p "$(dirname "$folder")"
    case $system in
    ubuntu*) options+=(--include=ubuntu-keyring --keyring="$(ubuntu_keyring "$folder.keys")") || return 1 ;;
    esac
    system_sources "$system" >"$folder.list" || return 1
    mmdebstrap "${options[@]}" "$@" "$(suite_of "$folder.list")" "$folder" "$folder.list" >"$folder.log" 2>&1 ||
        { tail -n 20 "$folder.log" >&2 && return 1; }
    rm -rf "$folder.keys" "$folder.list"
}

# The release's suite in a sources.list: the first line's third word.
suite_of() { awk 'NR == 1 { print $3 }' "$1"; }

# Mounts what programs in the system at FOLDER need (/proc, /sys, /dev) and gives it the name server;
# each mount is noted in "mounted", for leave_systems (a caller's exit trap) to undo, last first.
mounted=()
leave_systems() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
enter_system() {
    cp /etc/resolv.conf "$1/etc/resolv.conf"
    local place
    for place in proc sys dev dev/pts dev/shm; do
        mount --bind "/$place" "$1/$place"
        mounted+=("$1/$place")
    done
}

# Runs COMMAND in FOLDER of the system at SYSTEM as USER whose home is HOME, as a login shell leaves it:
# no locale, the user's PATH (no /usr/sbin, also for root, as Debian's plain su gives it); CI passed on.
run_in_system() {
    local system=$1 user=$2 home=$3 folder=$4
    shift 4
    chroot --userspec="$user:$user" "$system" env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin TERM=dumb \
        ${CI:+CI="$CI"} bash -c 'cd "$1" && shift && exec "$@"' _ "$folder" "$@" </dev/null
}
