#!/bin/bash
# Checks the Windows packages of a build without running them: the portable
# zip and the NSIS installer hold the same tree, with everything that is
# shipped (windows_files.sh) and a notice that names it, and the program and
# the installer are Windows programs of the build's architecture (a 64-bit
# installer for the 64-bit build, so that it runs where only 64-bit programs
# run).
#
# Usage: tests/check_windows_package.sh ARCH ZIP INSTALLER
#   ARCH: win32 or win64. Needs unzip, 7zz (Debian package 7zip: it lists
#   an NSIS installer's files) and MinGW-w64 objdump for ARCH.
set -u
set -o pipefail

me=check_windows_package
fail() { echo "$me: FAIL: $*" >&2; exit 1; }
ok() { echo "$me: ok: $*"; }
[ $# -eq 3 ] || fail "usage: $0 win32|win64 ZIP INSTALLER"
arch=$1 zip=$2 installer=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/windows_files.sh"
case $arch in
win32) objdump=i686-w64-mingw32-objdump format=pei-i386 ;;
win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 ;;
*) fail "$arch: not win32 or win64" ;;
esac
for tool in unzip 7zz "$objdump"; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' not found"
done
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

# The installer: the same files, of the same sizes, as the zip (besides
# the uninstaller it writes), and a program of the build's architecture.
installer_format=$(pe_format "$installer")
[ "$installer_format" = "$format" ] || fail "$installer is $installer_format, not $format"
listing=$(7zz l -slt "$installer" 2>&1) || fail "7zz cannot list $installer: $listing"
awk '/^----------$/ { body = 1 } !body { next } /^Path = / { path = substr($0, 8) } /^Size = / && path != "" { print path "\t" $3; path = "" }' <<< "$listing" |
    grep -v -e '^Uninstall\.exe	' -e '^\$PLUGINSDIR/' | sort > "$tmp/installer.txt"
(cd "$top" && find . -type f -printf '%P\t%s\n' | sort) > "$tmp/zip.txt"
[ -s "$tmp/installer.txt" ] || fail "no files read from $installer (7zz's listing not understood)"
diff "$tmp/zip.txt" "$tmp/installer.txt" > "$tmp/diff" ||
    fail "$installer and $zip differ (< zip, > installer, path and size):"$'\n'"$(cat "$tmp/diff")"
ok "${installer##*/}: $format, the same $(wc -l < "$tmp/zip.txt") files as the zip, of the same sizes"
echo "$me: PASS"
