# Sourced by scripts/windows and scripts/release: Qt and libsodium for Windows, built once from Debian's
# own source packages of the versions installed here into a cache (${XDG_CACHE_HOME:-~/.cache}/zadrin),
# keyed by their versions and build options; later runs reuse them. Sets toolchain, qt and sodium (their
# folders), with_windows_libraries (the CMake options that build Zadrin against them) and defines
# logged. Expects root (the project's folder) and the packages of "setup windows".
#
# The libraries carry no trace of where or when they were built: paths under the cache are written as
# "zadrin-cache" (-ffile-prefix-map), Qt finds its files relative to the program instead of by a
# compiled-in prefix (relocatable), and time stamps are the source package's (SOURCE_DATE_EPOCH) or
# none. So the same versions built under another home, at another time, give the same zadrin.exe.
jobs=$(nproc)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/zadrin
mkdir -p "$cache"
case $cache in
*[[:space:]]*) echo "The cache's path $cache holds a space; set XDG_CACHE_HOME to a path without one." >&2 && exit 1 ;;
esac
prefix_map="-ffile-prefix-map=$cache=zadrin-cache"

# Runs a step with its output appended to LOG; when it fails, says so, where the log is and how it ends.
logged() {
    local log=$1
    shift
    "$@" >>"$log" 2>&1 || {
        echo "FAILED: $* — the whole log is $log; its end:" >&2
        tail -n 40 "$log" >&2
        exit 1
    }
}

# apt with a configuration of the cache's own: the archives the machine uses, as source lists, kept in
# the cache, so that the machine's own lists stay as they were.
apt_here=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$cache/apt/sources.list.d"
          -o Dir::State::Lists="$cache/apt/lists" -o Dir::Cache="$cache/apt/cache")
[ "$(id -u)" -eq 0 ] && apt_here+=(-o APT::Sandbox::User=root)
source_lists() {
    rm -rf "$cache/apt"
    mkdir -p "$cache/apt/sources.list.d" "$cache/apt/lists/partial" "$cache/apt/cache/archives/partial"
    local list into
    for list in /etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$list" ] || continue
        into="$cache/apt/sources.list.d/$(basename "$list")"
        case $list in
        *.sources) sed 's/^Types:.*/Types: deb-src/' "$list" >"$into" ;;
        *) sed -n 's/^deb \(.*\)/deb-src \1/p' "$list" >"${into%.list}.list" ;;
        esac
    done
    apt-get "${apt_here[@]}" update -qq
}

# Debian's source package of the very version installed here (Qt's host tools must match), unpacked
# into INTO. A download cut short is started again.
source_of() {
    local package=$1 version=$2 into=$3
    [ -d "$into" ] && return
    [ -d "$cache/apt/lists" ] && apt-get "${apt_here[@]}" source --print-uris "$package=$version" >/dev/null 2>&1 ||
        logged "$cache/apt.log" source_lists
    rm -rf "$into.part"
    mkdir -p "$into.part"
    logged "$cache/apt.log" bash -c 'cd "$1" && shift && apt-get "$@"' _ "$into.part" "${apt_here[@]}" \
        source -qq "$package=$version"
    mv "$into.part" "$into"
}

# The time of a source package's last change, as Debian builds it with.
source_date() {
    dpkg-parsechangelog -l "$1/debian/changelog" -STimestamp
}

toolchain="$root/cmake/mingw-w64.cmake"
# What turns the sources into the libraries' bytes besides the options: the cross-compiler, its binutils,
# the Windows headers and runtime, and the build tools. Their versions are part of the cache's keys, so an
# update of any of them builds the libraries anew.
cross_toolchain=(
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime gcc-mingw-w64-base
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev mingw-w64-common
)
toolchain_versions=$(dpkg-query -W -f='${Package} ${Version}\n' "${cross_toolchain[@]}")
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_options=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DFEATURE_static_runtime=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_tabletevent=OFF # Debian's source has no wintab.h
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_relocatable=ON # no compiled-in path of the cache
    # The MIME database compressed by Qt's own script, whose gzip header holds no time (CMake's
    # archiving writes the clock's into it).
    -DQT_AVOID_CMAKE_ARCHIVING_API=ON
)
# The key names the options, not the cache's path, so that another home's cache has the same names.
key=$(printf '%s\n' "$qt_version" "${qt_options[@]}" "-ffile-prefix-map=CACHE=zadrin-cache" "$toolchain_versions" \
    "$(dpkg-query -W -f='${Package} ${Version}\n' qt6-base-dev-tools cmake ninja-build perl)" |
    cat - "$toolchain" | sha1sum | cut -c1-12)
qt="$cache/qt-${qt_version%%+*}-mingw-static-$key"
if [ ! -f "$qt/.complete" ]; then
    echo "Building Qt $qt_version for Windows (once; about half an hour)"
    source_of qt6-base "$qt_version" "$cache/src-qt6-base-$qt_version"
    qt_source=$(ls -d "$cache/src-qt6-base-$qt_version"/qt6-base-*/)
    rm -rf "$cache/build-qt" "$qt"
    mkdir -p "$qt"
    cp "$toolchain" "$qt/mingw-w64.cmake" # Qt's own files name it: keep it with them
    : >"$cache/build-qt.log"
    logged "$cache/build-qt.log" cmake -S "$qt_source" -B "$cache/build-qt" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/mingw-w64.cmake" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" -DCMAKE_INSTALL_PREFIX="$qt" \
        -DCMAKE_C_FLAGS="$prefix_map" -DCMAKE_CXX_FLAGS="$prefix_map" "${qt_options[@]}"
    logged "$cache/build-qt.log" env SOURCE_DATE_EPOCH="$(source_date "$qt_source")" \
        cmake --build "$cache/build-qt" --parallel "$jobs"
    logged "$cache/build-qt.log" cmake --install "$cache/build-qt"
    rm -rf "$cache/build-qt"
    touch "$qt/.complete"
fi

sodium_version=$(dpkg-query -W -f='${Version}' libsodium-dev)
sodium_key=$(printf '%s\n' "$sodium_version" "CPPFLAGS=-ffile-prefix-map=CACHE=zadrin-cache" "$toolchain_versions" \
    "$(dpkg-query -W -f='${Package} ${Version}\n' autoconf automake libtool make)" | sha1sum | cut -c1-12)
sodium="$cache/sodium-${sodium_version%%-*}-mingw-static-$sodium_key"
if [ ! -f "$sodium/.complete" ]; then
    echo "Building libsodium $sodium_version for Windows (once)"
    source_of libsodium "$sodium_version" "$cache/src-libsodium-$sodium_version"
    src=$(ls -d "$cache/src-libsodium-$sodium_version"/libsodium-*/)
    : >"$cache/build-sodium.log"
    logged "$cache/build-sodium.log" bash -c 'cd "$1" && ./autogen.sh -s' _ "$src"
    rm -rf "$cache/build-sodium" "$sodium" && mkdir -p "$cache/build-sodium"
    logged "$cache/build-sodium.log" bash -c 'cd "$1" && "$2/configure" --host=x86_64-w64-mingw32 \
        --disable-shared --enable-static --prefix="$3" CC=x86_64-w64-mingw32-gcc-posix CPPFLAGS="$5" &&
        make -j"$4" && make install' _ "$cache/build-sodium" "$src" "$sodium" "$jobs" "$prefix_map"
    rm -rf "$cache/build-sodium"
    touch "$sodium/.complete"
fi

with_windows_libraries=(-DCMAKE_FIND_ROOT_PATH="$qt;$sodium" -DQT_HOST_PATH=/usr
                        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake")
