#!/usr/bin/env bash
# Cross-builds Qt for Windows with MinGW-w64 (POSIX threads, shared DLLs):
# qtbase 5.15.8, Qt SerialPort 5.15.15 and Qt SerialBus 5.15.15, installed
# into a cache folder
# outside the tree and reused once complete. Prints the folder (the
# CMAKE_PREFIX_PATH of the Windows build) as its last line.
#
#   scripts/win32-qt.sh [win32]    Qt for 32-bit Windows (i686), the Qt the
#                                  shipped program is built with
#   scripts/win32-qt.sh win64      Qt for 64-bit Windows (x86_64): the same
#                                  sources, options and patches, for the
#                                  Wine tests on a machine that cannot run
#                                  32-bit programs (scripts/wine-route.sh)
#   GATEWAY_QT_WIN32=DIR, GATEWAY_QT_WIN64=DIR   another cache folder
#
# qtbase comes from Debian's source package. Qt SerialPort is the newest
# open 5.15 release, 5.15.15, from the checked copy in ../shared/vendor (its
# Windows backend is the one upstream kept), built against qtbase 5.15.8 and
# with the patches in scripts/patches, which act only under Wine. Qt
# SerialBus 5.15.15 (gateway-cli's Modbus TCP check) comes from the checked
# copy beside it, unchanged. The folder
# also gets qt-sources.txt, which says where the sources come from and how
# they were built, and patches/ with the patches applied: the Windows
# packages ship both with their licences.
#
# What is built is keyed: qtbase by its version, its configure options and
# the compiler's version; Qt SerialPort by its version, its source, the
# patches and qtbase's key; Qt SerialBus by its version, its source and Qt
# SerialPort's key. A change of one builds again what depends on it (Qt
# SerialPort or Qt SerialBus alone takes a minute or two, qtbase about 32
# minutes of processor time).
# Each architecture has its own folder, work folder and lock, so the two
# may build at once; a lock keeps two runs from building one of them at once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

main() {
    arch=${1:-win32}
    version=5.15.8 serialport_version=5.15.15
    serialport_sha256=56fc07da541b6d4c5b299206bd342615fcc405612c2128cf59d79dcdd84ef4cc
    local serialport_tar=$root/../shared/vendor/qtserialport-everywhere-src-$serialport_version.tar.xz
    serialport_tag=v$serialport_version-lts-lgpl
    serialbus_version=5.15.15
    serialbus_sha256=6464b4c036af5c35ab3d21d94d2d560571f5597e9a61ca9246ee09bf36fa2a02
    local serialbus_tar=$root/../shared/vendor/qtserialbus-everywhere-src-$serialbus_version.tar.xz
    serialbus_tag=v$serialbus_version-lts-lgpl
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/gateway-configurator
    case $arch in
    win32)
        cross=i686-w64-mingw32
        # The Debian packages of that compiler and its Windows headers.
        mingw_packages=(g++-mingw-w64-i686-posix mingw-w64-i686-dev)
        binutils=binutils-mingw-w64-i686
        prefix=${GATEWAY_QT_WIN32:-$cache/qt-$version-win32}
        ;;
    win64)
        cross=x86_64-w64-mingw32
        mingw_packages=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
        binutils=binutils-mingw-w64-x86-64
        prefix=${GATEWAY_QT_WIN64:-$cache/qt-$version-win64}
        ;;
    *) fail "unknown architecture '$arch' (win32 or win64)" ;;
    esac
    jobs=${JOBS:-$(nproc)}
    started=$(date +%s)

    scripts/deps.sh "${mingw_packages[@]}" "$binutils" perl python3 xz-utils dpkg-dev patch make >&2

    # Debian's tarball lacks src/3rdparty/wintab, hence no tablet events. Only
    # what the programs, their tests and their plugins use is built (Core,
    # Gui, Widgets, Test, Network for Qt SerialBus's Modbus TCP; the
    # platforms windows and offscreen, the Vista style, the ICO reader): no
    # OpenGL, D-Bus, ICU, SQL, XML, concurrency or printing modules, no
    # OpenSSL (Modbus TCP is plain TCP), no Direct2D platform (a second build
    # of the windows one), no GIF or JPEG readers, no examples or tests; one
    # release configuration. The same options for both architectures.
    configure_options=(-opensource -confirm-license
        -xplatform win32-g++ -device-option "CROSS_COMPILE=$prefix/toolchain/$cross-"
        -release -shared -strip -nomake examples -nomake tests
        -no-opengl -no-dbus -no-icu -no-feature-tabletevent -no-feature-sql
        -qt-zlib -qt-libpng -no-libjpeg -no-gif -qt-pcre -qt-freetype
        -no-feature-concurrent -no-feature-xml -no-feature-printer
        -no-openssl -no-direct2d)
    # The POSIX-threads compiler by its own name: the unsuffixed one is
    # whichever variant the alternatives system picks, and the two variants'
    # C++ runtimes differ.
    local cxx=/usr/bin/$cross-g++-posix
    compiler="$("$cxx" --version | head -n1) $(dpkg-query -W -f='${Version}' \
        "${mingw_packages[@]}" | tr '\n' ' ')"
    local qtbase_key serialport_key serialbus_key
    qtbase_key=$(printf '%s\n' "qtbase $version" "${configure_options[@]}" "$compiler" | key)
    patches=()
    for p in "$root"/scripts/patches/qtserialport-*.patch; do
        [ -e "$p" ] && patches+=("$p")
    done
    serialport_key=$( (echo "qtserialport $serialport_version $serialport_sha256 $qtbase_key"
                       [ ${#patches[@]} -eq 0 ] || cat "${patches[@]}") | key)
    serialbus_key=$(echo "qtserialbus $serialbus_version $serialbus_sha256 $serialport_key" | key)
    local qtbase_done=$prefix/.qtbase-$qtbase_key
    local serialport_done=$prefix/.serialport-$serialport_key
    local serialbus_done=$prefix/.serialbus-$serialbus_key

    mkdir -p "$cache"
    exec 9>"$cache/$arch-qt.lock"
    if ! flock -n 9; then
        echo "win32-qt: another build of Qt for Windows ($arch) is running; waiting for it" >&2
        flock 9
    fi

    if [ -f "$qtbase_done" ] && [ -f "$serialport_done" ] && [ -f "$serialbus_done" ]; then
        # Written on every run: it takes no time, and a change of its
        # wording changes no build.
        describe_sources
        echo "$prefix"
        return
    fi

    # The checked copies of Qt SerialPort and Qt SerialBus are needed for a
    # build only: a complete cache serves a checkout that has no ../shared
    # beside it.
    checked "$serialport_tar" "$serialport_sha256" "Qt SerialPort $serialport_version"
    checked "$serialbus_tar" "$serialbus_sha256" "Qt SerialBus $serialbus_version"
    work=$cache/build-$version-$arch
    rm -rf "$work"
    mkdir -p "$work/src"
    if [ ! -f "$qtbase_done" ]; then
        rm -rf "$prefix"
        toolchain
        build_qtbase
        printf 'qtbase %s for %s, shared, release, built in %s s on %s jobs\n%s\n' "$version" "$cross" \
            "$(($(date +%s) - started))" "$jobs" "$compiler" > "$qtbase_done"
    fi
    if [ ! -f "$serialport_done" ]; then
        rm -f "$prefix"/.serialport-* "$prefix"/.serialbus-*
        build_module "$serialport_tar" qtserialport "$serialport_version" "$version" "${patches[@]}"
        printf 'qtserialport %s with %s\n' "$serialport_version" "${patches[*]##*/}" > "$serialport_done"
    fi
    rm -f "$prefix"/.serialbus-*
    build_module "$serialbus_tar" qtserialbus "$serialbus_version" "$version"
    printf 'qtserialbus %s\n' "$serialbus_version" > "$serialbus_done"
    describe_sources
    rm -rf "$work"
    # With the processor time, which says more than the wall time on a
    # machine busy with other work (user and system time of the builds).
    # (times in this shell: the user and system time of its children.)
    times > "$cache/$arch-qt.times"
    echo "win32-qt: Qt for $arch built in $(($(date +%s) - started)) s, processor time (user, system)" \
        "$(tail -n1 "$cache/$arch-qt.times")" >&2
    rm -f "$cache/$arch-qt.times"
    echo "$prefix"
}

fail() {
    echo "win32-qt: $*" >&2
    exit 1
}

checked() { # tarball sha256 what
    [ -f "$1" ] || fail "missing $1"
    echo "$2  $1" | sha256sum -c --quiet - >&2 || fail "$1 does not have the checksum of $3"
}

key() {
    sha256sum | cut -c1-16
}

# The cross tools under the names qmake gives them (CROSS_COMPILE + gcc,
# g++, ar, ...), with the POSIX-threads gcc and g++.
toolchain() {
    local dir=$prefix/toolchain tool name
    mkdir -p "$dir"
    for tool in /usr/bin/$cross-*; do
        name=${tool##*/}
        case $name in *-posix | *-win32 | *-[0-9]*) continue ;; esac
        ln -sf "$tool" "$dir/$name"
    done
    ln -sf /usr/bin/$cross-gcc-posix "$dir/$cross-gcc"
    ln -sf /usr/bin/$cross-g++-posix "$dir/$cross-g++"
}

# The mirror of the machine's own apt sources, and the release.
debian_source() {
    mirror=$(grep -hoE '^(URIs:|deb) +[a-z]+://[^ ]+/debian/?( |$)' \
                 /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
                 /etc/apt/sources.list.d/*.list 2>/dev/null \
             | awk '{print $2}' | head -n1 || true)
    mirror=${mirror:-http://deb.debian.org/debian}
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
}

# What a program that ships this Qt tells its users of Qt's sources
# (qt-sources.txt, which the Windows build's licenses/NOTICE.txt takes in),
# with the patches applied kept beside it in patches/. Files that would not
# change are left as they are, so that builds using them are not configured
# again.
describe_sources() {
    local p
    mkdir -p "$prefix/patches"
    for p in "$prefix"/patches/*; do
        [ -e "$p" ] || continue
        [[ " ${patches[*]##*/} " == *" ${p##*/} "* ]] || rm "$p"
    done
    for p in "${patches[@]}"; do
        cmp -s "$p" "$prefix/patches/${p##*/}" || cp "$p" "$prefix/patches/"
    done
    sources_text > "$prefix/qt-sources.txt.new"
    if cmp -s "$prefix/qt-sources.txt.new" "$prefix/qt-sources.txt"; then
        rm "$prefix/qt-sources.txt.new"
    else
        mv "$prefix/qt-sources.txt.new" "$prefix/qt-sources.txt"
    fi
}

sources_text() {
    local mirror suite
    debian_source
    # A paragraph folded and indented for the notice: FIRST-LINE-INDENT
    # OTHER-LINES-INDENT TEXT.
    para() { fold -s -w 66 <<< "$3" | sed -e 's/^ *//' -e 's/ *$//' -e "1s/^/$1/" -e "2,\$s/^/$2/"; }
    para "    " "    " "They were built by scripts/win32-qt.sh of the program's sources with MinGW-w64 \
($(dpkg-query -W -f='Debian ${Package} ${Version}, ' "${mingw_packages[@]}" \
    | sed 's/, $//')), from:"
    para "    - " "      " "qtbase $version: the original tarball of Debian's source package \
qtbase-opensource-src ($mirror, $suite), without Debian's patches; the same release is also at \
https://download.qt.io/archive/qt/5.15/$version/submodules/. Configured with: \
${configure_options[*]//$prefix/<prefix>}"
    para "    - " "      " "Qt SerialPort $serialport_version: the tag $serialport_tag of \
https://code.qt.io/qt/qtserialport.git (a tarball of it, sha256 $serialport_sha256), built against \
qtbase $version, $([ ${#patches[@]} -eq 0 ] && echo unchanged. ||
    echo "with the patches beside this notice: ${patches[*]##*/}.")"
    para "    - " "      " "Qt SerialBus $serialbus_version: the tag $serialbus_tag of \
https://code.qt.io/qt/qtserialbus.git (a tarball of it, sha256 $serialbus_sha256), built against \
qtbase $version and Qt SerialPort $serialport_version, unchanged."
}

build_qtbase() {
    mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
    # A private deb-src list for the mirror of the machine's own apt sources,
    # so that the system's apt configuration is left as it is.
    local mirror suite
    debian_source
    echo "deb-src $mirror $suite main" > "$work/apt/sources.list"
    local apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources.list"
                       -o "Dir::Etc::SourceParts=/nonexistent"
                       -o "Dir::State::Lists=$work/apt/lists"
                       -o "Dir::Cache=$work/apt/cache"
                       -o "APT::Sandbox::User=root")
    # (Asked again when a mirror caught mid-sync refuses it for the moment.)
    apt-get "${apt_private[@]}" update -qq >&2 ||
        { sleep 30; apt-get "${apt_private[@]}" update -qq >&2; } ||
        { sleep 90; apt-get "${apt_private[@]}" update -qq >&2; } ||
        fail "Debian's source archive ($mirror, $suite) cannot be reached: qtbase's sources come from there"
    (cd "$work/src" && apt-get "${apt_private[@]}" source --download-only -qq qtbase-opensource-src) >&2 ||
        fail "Debian's source archive ($mirror, $suite) did not give the source package qtbase-opensource-src"
    local tarball qtbase
    tarball=$(ls "$work"/src/qtbase-opensource-src_$version*.orig.tar.xz 2>/dev/null | head -n1)
    [ -n "$tarball" ] || fail "Debian's qtbase-opensource-src is not version $version: $(ls "$work/src")"
    tar -C "$work" -xf "$tarball"
    qtbase=$work/qtbase-everywhere-src-$version

    mkdir -p "$work/qtbase-build"
    (cd "$work/qtbase-build" && "$qtbase/configure" -prefix "$prefix" "${configure_options[@]}") >&2
    echo "win32-qt: qtbase for $arch configured after $(($(date +%s) - started)) s" >&2
    make -C "$work/qtbase-build" -j"$jobs" >&2
    make -C "$work/qtbase-build" install >&2
}

# A Qt module from a tarball of its repository, built against qtbase and
# installed beside it, with the patches given applied first.
build_module() { # tarball, module, its version, qtbase's version, patch ...
    local tarball=$1 module=$2 src=$work/$2-everywhere-src-$3 qt_version=$4 p
    shift 4
    tar -C "$work" -xf "$tarball"
    for p; do
        patch -d "$src" -p1 --quiet < "$p" >&2
    done
    # Built against an older qtbase, the module takes qtbase's version: its
    # CMake and qmake files then ask for the Qt that is there.
    sed -i "s/^MODULE_VERSION = .*/MODULE_VERSION = $qt_version/" "$src/.qmake.conf"
    # A tarball made from the repository has no generated forwarding headers.
    perl "$prefix/bin/syncqt.pl" -version "$qt_version" -outdir "$src" "$src" >&2
    mkdir -p "$work/$module-build"
    (cd "$work/$module-build" && "$prefix/bin/qmake" "$src") >&2
    make -C "$work/$module-build" -j"$jobs" >&2
    make -C "$work/$module-build" install >&2
    echo "win32-qt: $module for $arch built after $(($(date +%s) - started)) s" >&2
}

main "$@"; exit
