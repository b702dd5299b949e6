#!/usr/bin/env bash
# Package test: builds the Debian package with CPack in a configured and
# built build directory, checks its contents and dependencies, has lintian
# find no error and no warning in it (Debian's policy), installs it
# with apt on a clean Debian 12 (a debootstrap "minbase" tree, no
# recommended packages) and starts the configurator there offscreen: it must
# still be running when `timeout` stops it, with no missing library or
# plugin on the way. There gateway-cli, which must need neither Qt Gui nor
# Widgets, scans the packaged gateway-sim.
#
# Usage: tests/check_package.sh BUILD_DIR
#
# Needs root, the Debian packages file and dpkg-dev (CPack runs file to find
# the programs whose libraries dpkg-shlibdeps looks up), desktop-file-utils,
# lintian and debootstrap (scripts/test.sh installs them; a program missing
# fails the test, named), and Debian's archive.
# The clean tree is made once per machine and kept as a tarball, and the
# packages apt downloads into it are kept too, both under $GATEWAY_CI_CACHE
# (default /var/cache/gateway-ci); delete that folder to start afresh.
# Without the archive the script says so, falls back to
# checking the package against the host's apt (`apt-get install
# --simulate`) and exits 0; GATEWAY_PACKAGE_STRICT=1 makes that a failure.
set -euo pipefail

me=check_package
say()  { echo "$me: $*"; }
fail() { echo "$me: FAIL: $*" >&2; exit 1; }
start=$SECONDS
lap() { say "[$((SECONDS - start)) s] $*"; }

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
[ "$(id -u)" -eq 0 ] || fail "needs root (chroot, mount)"
. "$(dirname "$0")/need.sh"
need cpack cmake
need file file
need dpkg-shlibdeps dpkg-dev
need desktop-file-validate desktop-file-utils
need lintian lintian
need debootstrap debootstrap
suite=bookworm
mirror=${GATEWAY_CI_MIRROR:-http://deb.debian.org/debian}
cache=${GATEWAY_CI_CACHE:-/var/cache/gateway-ci}
base="$cache/$suite-minbase.tar"
archives="$cache/$suite-apt-archives"

# ---------------------------------------------------------------- the .deb
pkgdir=$(mktemp -d "${TMPDIR:-/tmp}/$me.XXXXXX")
root="$pkgdir/root"
mounts=()
cleanup() {
    local m i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        m=${mounts[i]}
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done
    # Never delete through a mount that is still there.
    if [ -d "$root" ] && findmnt -rn -o TARGET | grep -q "^$root"; then
        echo "$me: mounts left under $root; not removing $pkgdir" >&2
        return
    fi
    rm -rf --one-file-system "$pkgdir"
}
trap cleanup EXIT

lap "cpack in $build"
(cd "$build" && cpack -G DEB -B "$pkgdir/out" >"$pkgdir/cpack.log" 2>&1) ||
    { cat "$pkgdir/cpack.log" >&2; fail "cpack failed"; }
deb=$(find "$pkgdir/out" -maxdepth 1 -name 'gateway-configurator_*.deb' | head -n 1)
[ -n "$deb" ] || fail "cpack made no gateway-configurator_*.deb"
say "package: $(basename "$deb")"

info=$(dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends)
while IFS= read -r l; do say "  $l"; done <<< "$info"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 'libstdc\+\+6' 'libqt[56]core' 'libqt[56]gui' 'libqt[56]widgets' 'libqt[56]serialport' \
           fonts-liberation2; do
    grep -Eq "(^|, )$lib" <<< "$depends" || fail "Depends lacks $lib: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/gateway-configurator ./usr/bin/gateway-cli ./usr/bin/gateway-sim \
         ./usr/share/man/man1/gateway-configurator.1.gz ./usr/share/man/man1/gateway-cli.1.gz \
         ./usr/share/man/man1/gateway-sim.1.gz \
         ./usr/share/applications/gateway-configurator.desktop \
         ./usr/share/icons/hicolor/16x16/apps/gateway-configurator.png \
         ./usr/share/icons/hicolor/32x32/apps/gateway-configurator.png \
         ./usr/share/icons/hicolor/48x48/apps/gateway-configurator.png \
         ./usr/share/icons/hicolor/256x256/apps/gateway-configurator.png \
         ./usr/share/icons/hicolor/scalable/apps/gateway-configurator.svg; do
    grep -qx -- "$f" <<< "$contents" || fail "package lacks $f"
done
dpkg-deb -x "$deb" "$pkgdir/x"
desktop-file-validate "$pkgdir/x/usr/share/applications/gateway-configurator.desktop" ||
    fail "desktop-file-validate rejects the .desktop entry"
lap "package contents, Depends and .desktop entry ok"
# Overrides, if any, are the package's own (usr/share/lintian/overrides),
# each with its reason.
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in the package (above)"
lap "lintian: no error, no warning"

# ---------------------------------------------------------------- fallback
fallback() {
    say "NOTE: no clean-system install: $1"
    [ "${GATEWAY_PACKAGE_STRICT:-0}" = 1 ] && fail "clean-system install required (GATEWAY_PACKAGE_STRICT=1)"
    cp "$deb" "$pkgdir/pkg.deb"
    apt-get install --simulate --no-install-recommends "$pkgdir/pkg.deb" >"$pkgdir/sim.log" 2>&1 ||
        { cat "$pkgdir/sim.log" >&2; fail "apt-get install --simulate failed on the host"; }
    say "fallback: the host's apt can satisfy the package's dependencies"
    say "PASS (fallback only: the package was NOT installed on a clean system)"
    exit 0
}

# ---------------------------------------------------------------- clean tree
if [ ! -s "$base" ]; then
    lap "no cached tree: debootstrap --variant=minbase $suite (once per machine)"
    mkdir -p "$cache"
    fresh="$pkgdir/fresh"
    if ! debootstrap --variant=minbase "$suite" "$fresh" "$mirror" >"$pkgdir/debootstrap.log" 2>&1; then
        tail -n 20 "$pkgdir/debootstrap.log" >&2
        rm -rf --one-file-system "$fresh"
        fallback "debootstrap failed (see above)"
    fi
    rm -rf "$fresh"/var/cache/apt/archives/*.deb "$fresh"/var/lib/apt/lists/*_*
    tar -C "$fresh" --numeric-owner -cf "$base.tmp" .
    mv "$base.tmp" "$base"
    rm -rf --one-file-system "$fresh"
    lap "cached the clean tree as $base ($(du -h "$base" | cut -f1))"
fi

mkdir -p "$root" "$archives/partial"
tar -C "$root" --numeric-owner -xpf "$base"
lap "clean tree unpacked"

# The same suites as a Debian 12 system, resolv.conf for the archive, no
# service starts, /proc and /dev for the maintainer scripts, /dev/pts for
# the simulator's pseudo-terminal, and the downloaded packages kept between
# runs.
cat > "$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb ${mirror%/debian}/debian-security $suite-security main
EOF
cp -L /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc"; mounts+=("$root/proc")
mount --bind /dev "$root/dev"; mounts+=("$root/dev")
mount --bind /dev/pts "$root/dev/pts"; mounts+=("$root/dev/pts")
mount --bind "$archives" "$root/var/cache/apt/archives"; mounts+=("$root/var/cache/apt/archives")
cp "$deb" "$root/tmp/pkg.deb"

# (env by its path in the tree: chroot looks a command up on the caller's PATH.)
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
in_root apt-get -o Acquire::Retries=3 update -qq >"$pkgdir/update.log" 2>&1 ||
    { cat "$pkgdir/update.log" >&2; fallback "apt-get update in the clean tree failed (no archive?)"; }
lap "apt-get update in the clean tree"
in_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends -o Acquire::Retries=3 /tmp/pkg.deb >"$pkgdir/install.log" 2>&1 ||
    { tail -n 30 "$pkgdir/install.log" >&2; fail "apt-get install of the package failed on the clean system"; }
lap "installed with its dependencies ($(grep -c '^Setting up' "$pkgdir/install.log" || true) packages set up)"

# ---------------------------------------------------------------- run it
for f in /usr/bin/gateway-configurator /usr/bin/gateway-cli /usr/bin/gateway-sim; do
    missing=$(in_root ldd "$f" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$f: missing libraries on the clean system: $missing"
done
gui=$(in_root ldd /usr/bin/gateway-cli | grep -E 'libQt[56](Gui|Widgets)' || true)
[ -z "$gui" ] || fail "gateway-cli links Qt Gui or Widgets: $gui"

set +e
in_root env QT_QPA_PLATFORM=offscreen timeout 10 gateway-configurator >"$pkgdir/run.log" 2>&1
rc=$?
set -e
while IFS= read -r l; do say "  gateway-configurator: $l"; done < "$pkgdir/run.log"
if grep -Eqi 'error while loading shared libraries|could not (load|find) the qt platform plugin|This application failed to start' "$pkgdir/run.log"; then
    fail "gateway-configurator cannot start on the clean system"
fi
[ "$rc" -eq 124 ] || fail "gateway-configurator ended by itself with status $rc within 10 s"
lap "gateway-configurator still running after 10 s offscreen (stopped by timeout)"

set +e
in_root timeout 2 gateway-sim --link /tmp/gwsim --quiet >"$pkgdir/sim.log" 2>&1
rc=$?
set -e
[ "$rc" -eq 124 ] || { cat "$pkgdir/sim.log" >&2; fail "gateway-sim ended by itself with status $rc"; }
lap "gateway-sim still running after 2 s (stopped by timeout)"

# gateway-cli scans the simulated module, both as installed.
set +e
in_root sh -c 'gateway-sim --link /tmp/gwcli --quiet >/dev/null & sim=$!
    for i in 1 2 3 4 5 6 7 8 9 10; do [ -e /tmp/gwcli ] && break; sleep 0.2; done
    gateway-cli scan /tmp/gwcli --json --interval 100; rc=$?; kill $sim; exit $rc' >"$pkgdir/cli.log" 2>&1
rc=$?
set -e
[ "$rc" -eq 0 ] && grep -q '"mac": "02:00:00:00:00:01"' "$pkgdir/cli.log" ||
    { cat "$pkgdir/cli.log" >&2; fail "gateway-cli could not scan gateway-sim on the clean system (status $rc)"; }
lap "gateway-cli scanned gateway-sim on the clean system"

say "PASS"
