#!/bin/bash
# Checks the Windows packages of a build without running them: the portable
# zip and the NSIS installer hold the same tree, file for file and byte for
# byte (but for the time stamp and checksum that strip writes into each
# program and DLL), with everything that is shipped (windows_files.sh) and
# a notice that names it, and the program and the installer are Windows
# programs of the build's architecture (a 64-bit installer for the 64-bit
# build, so that it runs where only 64-bit programs run).
#
# Usage: tests/check_windows_package.sh ARCH ZIP INSTALLER
#   ARCH: win32 or win64. Needs unzip, 7zz (Debian package 7zip: it unpacks
#   an NSIS installer's files), python3 and MinGW-w64 objdump for ARCH.
set -u
set -o pipefail

me=check_windows_package
fail() { echo "$me: FAIL: $*" >&2; exit 1; }
ok() { echo "$me: ok: $*"; }
[ $# -eq 3 ] || fail "usage: $0 win32|win64 ZIP INSTALLER"
arch=$1 zip=$2 installer=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/windows_files.sh"
. "$here/need.sh"
case $arch in
win32) objdump=i686-w64-mingw32-objdump format=pei-i386 binutils=binutils-mingw-w64-i686 ;;
win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 binutils=binutils-mingw-w64-x86-64 ;;
*) fail "$arch: not win32 or win64" ;;
esac
need unzip unzip
need 7zz 7zip
need "$objdump" "$binutils"
need python3 python3
[ -f "$zip" ] || fail "no zip at $zip"
[ -f "$installer" ] || fail "no installer at $installer"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/$me.XXXXXX") || fail "mktemp failed"
trap 'rm -rf "$tmp"' EXIT

# The file format objdump reads from a Windows program.
pe_format() {
    "$objdump" -f "$1" 2>&1 | sed -n 's/.*file format //p'
}

# The zip: one folder, with what is shipped.
unzip -q "$zip" -d "$tmp/zip" || fail "$zip cannot be unpacked"
top=$(find "$tmp/zip" -mindepth 1 -maxdepth 1)
[ "$(wc -l <<< "$top")" -eq 1 ] && [ -d "$top" ] || fail "$zip does not hold one folder: ${top//$tmp\/zip\//}"
windows_check_tree "$arch" "$top" || fail "$zip: not what is shipped (above)"
program_format=$(pe_format "$top/bin/gateway-configurator.exe")
[ "$program_format" = "$format" ] || fail "$zip: bin/gateway-configurator.exe is $program_format, not $format"
ok "${zip##*/}: one folder, ${top##*/}, with what is shipped; the program is $format"

# The installer: the same files, byte for byte, as the zip (besides the
# uninstaller it writes and its own plugins), and a program of the build's
# architecture. (7-Zip unpacks an NSIS installer's files; its listing has
# no sizes for a solid one.)
installer_format=$(pe_format "$installer")
[ "$installer_format" = "$format" ] || fail "$installer is $installer_format, not $format"
said=$(7zz x -y -o"$tmp/installer" "$installer" 2>&1) || fail "7zz cannot unpack $installer: $said"
rm -rf "$tmp/installer/\$PLUGINSDIR" "$tmp/installer/Uninstall.exe"
[ -f "$tmp/installer/bin/gateway-configurator.exe" ] ||
    fail "no bin/gateway-configurator.exe unpacked from $installer: $(cd "$tmp/installer" && find . | head -n 20)"
# CPack strips the programs and DLLs for each package anew, and strip
# writes the PE header's time stamp and checksum: those two fields may
# differ, nothing else.
python3 - "$top" "$tmp/installer" <<'PY' || fail "$installer and $zip differ (above)"
import os, struct, sys
a, b = sys.argv[1:3]
def files(root):
    return {os.path.relpath(os.path.join(d, f), root)
            for d, _, names in os.walk(root) for f in names}
fa, fb = files(a), files(b)
bad = ['only in the zip: ' + f for f in sorted(fa - fb)] + ['only in the installer: ' + f for f in sorted(fb - fa)]
for f in sorted(fa & fb):
    x, y = (open(os.path.join(r, f), 'rb').read() for r in (a, b))
    if x == y:
        continue
    if len(x) == len(y) and x[:2] == b'MZ':
        pe = struct.unpack_from('<I', x, 0x3C)[0]
        allowed = set(range(pe + 8, pe + 12)) | set(range(pe + 24 + 64, pe + 24 + 68))
        if all(i in allowed for i in range(len(x)) if x[i] != y[i]):
            continue
    bad.append('differs: ' + f)
for line in bad:
    print(line, file=sys.stderr)
sys.exit(1 if bad else 0)
PY
ok "${installer##*/}: $format, the same $(cd "$top" && find . -type f | wc -l) files as the zip, byte for byte (PE time stamps and checksums aside)"
echo "$me: PASS"
