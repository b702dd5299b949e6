#!/usr/bin/env bash
# Cross-builds Qt 5.15.8 for 32-bit Windows (MinGW-w64 i686, shared DLLs):
# qtbase and qtserialport, installed into a cache folder outside the tree
# and reused once complete. Prints the folder (the CMAKE_PREFIX_PATH of the
# Win32 build) as its last line.
#
#   scripts/win32-qt.sh            build when missing, print the prefix
#   GATEWAY_QT_WIN32=DIR ...       another cache folder
#
# The sources are Debian's source packages. qtserialport's files are refused
# by the archive here, so the checked copy of the same release in
# ../shared/vendor stands in for it. qtserialport gets the patches in
# scripts/patches; when they change, only qtserialport is built again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=5.15.8
cache=${XDG_CACHE_HOME:-$HOME/.cache}/gateway-configurator
prefix=${GATEWAY_QT_WIN32:-$cache/qt-$version-win32}
serialport_sha256=6958041d9f09ec1a03aeb6f1d589025af217883bf5b4f42e2fc8e6eaceb12648
jobs=${JOBS:-$(nproc)}
patches=("$root"/scripts/patches/qtserialport-*.patch)
patches_sha=$(cat "${patches[@]}" | sha256sum | cut -c1-16)
qtbase_done=$prefix/.complete
serialport_done=$prefix/.serialport-$patches_sha

if [ -f "$qtbase_done" ] && [ -f "$serialport_done" ]; then
    echo "$prefix"
    exit 0
fi

scripts/deps.sh g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
    mingw-w64-i686-dev perl python3 xz-utils dpkg-dev patch >&2

work=$cache/build-$version
rm -rf "$work"
[ -f "$qtbase_done" ] || rm -rf "$prefix"
mkdir -p "$work/src"
started=$(date +%s)

build_serialport() { # source tarball
    local src p
    tar -C "$work" -xf "$1"
    src=$(ls -d "$work"/qtserialport-everywhere-src-$version)
    for p in "${patches[@]}"; do
        patch -d "$src" -p1 --quiet < "$p" >&2
    done
    # A tarball made from the repository has no generated forwarding headers.
    perl "$prefix/bin/syncqt.pl" -version $version -outdir "$src" "$src" >&2
    mkdir -p "$work/serialport-build"
    (cd "$work/serialport-build" && "$prefix/bin/qmake" "$src") >&2
    make -C "$work/serialport-build" -j"$jobs" >&2
    make -C "$work/serialport-build" install >&2
    rm -f "$prefix"/.serialport-*
    printf 'qtserialport %s with %s\n' "$version" "${patches[*]##*/}" > "$serialport_done"
}

serialport_tar=$root/../shared/vendor/qtserialport-everywhere-src-$version.tar.xz
check_vendor_serialport() {
    echo "$serialport_sha256  $serialport_tar" | sha256sum -c --quiet - >&2
    echo "win32-qt: qtserialport from the checked copy in shared/vendor" >&2
}

if [ -f "$qtbase_done" ]; then
    # qtbase is built and kept; only the qtserialport patches have changed.
    check_vendor_serialport
    build_serialport "$serialport_tar"
    rm -rf "$work"
    echo "win32-qt: qtserialport built again in $(($(date +%s) - started)) s" >&2
    echo "$prefix"
    exit 0
fi
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"

# ---- Sources ---------------------------------------------------------------
# A private deb-src list for the mirror of the machine's own apt sources, so
# that the system's apt configuration is left as it is.
mirror=$(grep -hoE '^(URIs:|deb) +[a-z]+://[^ ]+/debian/?( |$)' \
             /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
             /etc/apt/sources.list.d/*.list 2>/dev/null \
         | awk '{print $2}' | head -n1 || true)
mirror=${mirror:-http://deb.debian.org/debian}
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "deb-src $mirror $suite main" > "$work/apt/sources.list"
apt_private=(-o "Dir::Etc::SourceList=$work/apt/sources.list"
             -o "Dir::Etc::SourceParts=/nonexistent"
             -o "Dir::State::Lists=$work/apt/lists"
             -o "Dir::Cache=$work/apt/cache"
             -o "APT::Sandbox::User=root")
apt-get "${apt_private[@]}" update -qq >&2

fetch_source() { # package -> downloads into $work/src, returns non-zero on failure
    (cd "$work/src" && apt-get "${apt_private[@]}" source --download-only -qq "$1") >&2
}

fetch_source qtbase-opensource-src
qtbase_tar=$(ls "$work"/src/qtbase-opensource-src_$version*.orig.tar.xz | head -n1)
tar -C "$work" -xf "$qtbase_tar"
qtbase=$(ls -d "$work"/qtbase-everywhere-src-$version)

if fetch_source qtserialport-opensource-src 2>/dev/null \
   && ls "$work"/src/qtserialport-opensource-src_$version*.orig.tar.* >/dev/null 2>&1; then
    serialport_tar=$(ls "$work"/src/qtserialport-opensource-src_$version*.orig.tar.* | head -n1)
    echo "win32-qt: qtserialport from Debian's source package" >&2
else
    check_vendor_serialport
fi

# ---- qtbase ------------------------------------------------------------------
# Debian's tarball lacks src/3rdparty/wintab, hence no tablet events. Only
# what the program and its tests use is built: no OpenGL, D-Bus, ICU, SQL
# drivers, examples or tests; one release configuration (not debug-and-release).
mkdir -p "$work/qtbase-build"
(cd "$work/qtbase-build" &&
    "$qtbase/configure" -prefix "$prefix" -opensource -confirm-license \
        -xplatform win32-g++ -device-option CROSS_COMPILE=i686-w64-mingw32- \
        -release -shared -strip -nomake examples -nomake tests \
        -no-opengl -no-dbus -no-icu -no-feature-tabletevent -no-feature-sql \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-freetype \
        -no-feature-concurrent -no-feature-xml -no-feature-printer) >&2
configured=$(date +%s)
make -C "$work/qtbase-build" -j"$jobs" >&2
make -C "$work/qtbase-build" install >&2
cat > "$qtbase_done" <<EOF
Qt $version for i686-w64-mingw32, shared, release
configure $((configured - started)) s, qtbase $(($(date +%s) - started)) s on $jobs jobs
EOF

# ---- qtserialport ------------------------------------------------------------
build_serialport "$serialport_tar"
finished=$(date +%s)
echo "win32-qt: built in $((finished - started)) s (configure done after $((configured - started)) s)" >&2
rm -rf "$work"
echo "$prefix"
