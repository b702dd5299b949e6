#!/bin/bash
# Check the Windows resources of the program without a Windows toolchain:
#   * images/TesmarRTUTCP.ico has exactly four 32-bit images, 256/48/32/16 px,
#     the 256 px one stored as PNG, the others as classic 32 bpp DIBs;
#   * images/app.rc compiles with MinGW windres into a .res and a COFF object
#     that carry the icon group IDI_ICON1 (4 icons), the version information
#     2.0.1.0 and the manifest (RT_MANIFEST 1).
#
# With a built program (EXE, from a Windows build) it also reads back from
# the file itself:
#   * PE32 for i386 (PE32+ for x86-64 with WINDRES=x86_64-w64-mingw32-windres),
#     GUI subsystem;
#   * the icon group IDI_ICON1 with the four images of the .ico, and the
#     version record 2.0.1.0 (wrestool, icoutils);
#   * the .ico stored whole (uncompressed) as the Qt resource
#     ":/images/TesmarRTUTCP.ico";
#   * one manifest, RT_MANIFEST 1, that asks for asInvoker and names
#     Windows 7, 8, 8.1 and 10/11 as supported.
#
# Usage: tests/check_windows_rc.sh [SOURCE_DIR [EXE]]
#   SOURCE_DIR defaults to the parent directory of this script. Works from any
#   working directory and with a read-only source tree (writes only into a
#   mktemp directory, removed on exit).
#
# Required Debian packages:
#   binutils-mingw-w64-i686  (i686-w64-mingw32-windres, -objdump, -strings)
#   icoutils                 (icotool, wrestool)
#   python3                  (with a program: its Qt resource and manifest)
#   cpp                      (C preprocessor for windres; not needed when
#                             i686-w64-mingw32-gcc, gcc-mingw-w64-i686, exists)
# Environment: WINDRES may name another windres (e.g. x86_64-w64-mingw32-windres);
#   the matching objdump/strings are derived from its prefix.
#
# Exit status: 0 = all checks passed, 1 = a check failed or a program it
# runs is missing (named, with its package: need.sh).

set -u
set -o pipefail

me=check_windows_rc
fail() { echo "$me: FAIL: $*" >&2; exit 1; }
ok()   { echo "$me: ok: $*"; }

src=${1:-"$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"}
exe=${2:-}
if [ -n "$exe" ]; then
    [ -f "$exe" ] || fail "no program at '$exe'"
    exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
fi
[ -d "$src" ] || fail "source directory '$src' does not exist"
src=$(cd "$src" && pwd)
rc="$src/images/app.rc"
ico="$src/images/TesmarRTUTCP.ico"
[ -f "$rc" ]  || fail "missing $rc"
[ -f "$ico" ] || fail "missing $ico"

windres=${WINDRES:-i686-w64-mingw32-windres}
prefix=${windres%windres}
objdump=${prefix}objdump
strings_tool=${prefix}strings
# The programs of that toolchain's target, and their Debian package.
case $prefix in
x86_64-*) pe_format=pei-x86-64 pe_name="PE32+ x86-64" binutils=binutils-mingw-w64-x86-64 ;;
*) pe_format=pei-i386 pe_name="PE32 i386" binutils=binutils-mingw-w64-i686 ;;
esac
. "$(dirname "${BASH_SOURCE[0]}")/need.sh"
need "$windres" "$binutils"
need "$objdump" "$binutils"
need "$strings_tool" "$binutils"
need icotool icoutils

# windres runs "${prefix}gcc -E" by default; without the MinGW compiler use the
# host C preprocessor (windres then passes only the options given here).
pp=()
if ! command -v "${prefix}gcc" >/dev/null 2>&1; then
    need cpp cpp
    pp=(--preprocessor=cpp --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED)
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/check_windows_rc.XXXXXX") || fail "mktemp failed"
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || fail "cannot enter $tmp"

# ---------------------------------------------------------------- the .ico
# byte N of a file as an unsigned decimal number
byte() { od -An -tu1 -j "$2" -N 1 "$1" | tr -d ' \n'; }
# little-endian unsigned 16/32-bit integers
u16() { echo $(( $(byte "$1" "$2") | $(byte "$1" $(($2 + 1))) << 8 )); }
u32() { echo $(( $(u16 "$1" "$2") | $(u16 "$1" $(($2 + 2))) << 16 )); }

listing=$(icotool -l "$ico" 2>&1) || fail "icotool cannot read $ico: $listing"
while IFS= read -r l; do echo "$me: icotool -l: $l"; done <<< "$listing"
count=$(printf '%s\n' "$listing" | grep -c -- '^--icon ')
[ "$count" -eq 4 ] || fail "$ico: expected 4 icon images, icotool lists $count"
for size in 256 48 32 16; do
    line=$(printf '%s\n' "$listing" | grep -- "--width=$size --height=$size ") ||
        fail "$ico: no ${size}x${size} image"
    case "$line" in
        *"--bit-depth=32 "*) ;;
        *) fail "$ico: ${size}x${size} image is not 32-bit: $line" ;;
    esac
done

# Walk the ICONDIR ourselves: icotool -l does not say how images are stored.
filesize=$(wc -c < "$ico")
[ "$filesize" -ge $((6 + 16 * 4)) ] || fail "$ico: too short ($filesize bytes)"
# shellcheck disable=SC2015  # "A && B || fail" is meant: fail unless both hold
[ "$(u16 "$ico" 0)" -eq 0 ] && [ "$(u16 "$ico" 2)" -eq 1 ] || fail "$ico: not an ICO header"
n=$(u16 "$ico" 4)
[ "$n" -eq 4 ] || fail "$ico: directory has $n entries, expected 4"
png_sig="137 80 78 71 13 10 26 10"
for ((i = 0; i < n; i++)); do
    e=$((6 + 16 * i))
    w=$(byte "$ico" "$e"); [ "$w" -eq 0 ] && w=256
    bpp=$(u16 "$ico" $((e + 6)))
    len=$(u32 "$ico" $((e + 8)))
    off=$(u32 "$ico" $((e + 12)))
    [ $((off + len)) -le "$filesize" ] || fail "$ico: image $((i + 1)) lies outside the file"
    [ "$bpp" -eq 32 ] || fail "$ico: ${w}px entry declares $bpp bpp, expected 32"
    sig=$(od -An -tu1 -j "$off" -N 8 "$ico" | tr -s ' ' | sed 's/^ //; s/ $//')
    if [ "$w" -eq 256 ]; then
        [ "$sig" = "$png_sig" ] || fail "$ico: 256px image is not stored as PNG"
        # IHDR: bit depth 8, colour type 6 (RGBA)
        # shellcheck disable=SC2015
        [ "$(byte "$ico" $((off + 24)))" -eq 8 ] && [ "$(byte "$ico" $((off + 25)))" -eq 6 ] ||
            fail "$ico: 256px PNG is not 8-bit RGBA"
        ok "$ico: 256x256 stored as PNG (RGBA)"
    else
        [ "$sig" != "$png_sig" ] || fail "$ico: ${w}px image is PNG, expected a classic DIB"
        hdr=$(u32 "$ico" "$off")
        dibw=$(u32 "$ico" $((off + 4)))
        dibh=$(u32 "$ico" $((off + 8)))
        dibbpp=$(u16 "$ico" $((off + 14)))
        # shellcheck disable=SC2015
        [ "$hdr" -eq 40 ] && [ "$dibw" -eq "$w" ] && [ "$dibh" -eq $((2 * w)) ] && [ "$dibbpp" -eq 32 ] ||
            fail "$ico: ${w}px image is not a 32 bpp BITMAPINFOHEADER DIB (hdr=$hdr ${dibw}x${dibh} bpp=$dibbpp)"
        ok "$ico: ${w}x${w} stored as 32 bpp DIB"
    fi
done

# ---------------------------------------------------------------- the .rc
# No -I: the icon must be found relative to app.rc itself (cwd is $tmp).
out=$("$windres" "${pp[@]}" -i "$rc" -O res -o app.res 2>&1) ||
    fail "windres could not compile $rc to .res:"$'\n'"$out"
out=$("$windres" "${pp[@]}" -i "$rc" -O coff -o app.o 2>&1) ||
    fail "windres could not compile $rc to a COFF object:"$'\n'"$out"
[ -s app.o ] || fail "windres produced an empty object"

sections=$("$objdump" -h app.o 2>&1) || fail "objdump cannot read the COFF object: $sections"
grep -q 'file format pe-' <<< "$sections" || fail "object is not a PE/COFF object"
grep -q ' \.rsrc ' <<< "$sections" || fail "object has no .rsrc section"
ok "app.rc -> COFF object with a .rsrc section"

# Decompile both outputs and check the resources.
for f in app.res app.o; do
    "$windres" -i "$f" -O rc -o "$f.rc" 2>"$f.err" || fail "windres cannot decompile $f: $(cat "$f.err")"
    txt="$f.rc"
    holds() {
        grep -q -F -- "$1" "$txt" || fail "$f: resources lack '$1'${2:+ ($2)}"
    }
    holds '"IDI_ICON1" 14 /* RT_GROUP_ICON */' "icon group IDI_ICON1"
    holds 'Has 4 elements' "icon group with 4 images"
    icons=$(grep -c '^[0-9][0-9]* 3 /\* RT_ICON \*/' "$txt")
    [ "$icons" -eq 4 ] || fail "$f: expected 4 RT_ICON resources, found $icons"
    # width/height bytes of the group entries (octal in windres output) and 32 bpp
    for wh in '\000\000' '\060\060' '\040\040' '\020\020'; do
        grep -q -F -- "\"$wh\\000\\000\", 1, 32," "$txt" ||
            fail "$f: icon group lacks a 32-bit entry \"$wh\" (256/48/32/16 px)"
    done
    holds '1 VERSIONINFO'
    holds 'FILEVERSION 2, 0, 1, 0'
    holds 'PRODUCTVERSION 2, 0, 1, 0'
    holds 'BLOCK "StringFileInfo"'
    holds 'BLOCK "040904B0"'
    holds 'VALUE "FileVersion", "2.0.1.0"'
    holds 'VALUE "ProductVersion", "2.0.1.0"'
    holds 'VALUE "InternalName", "gateway-configurator"'
    holds 'VALUE "OriginalFilename", "gateway-configurator.exe"'
    holds 'VALUE "FileDescription", "'
    holds 'VALUE "ProductName", "'
    holds 'VALUE "CompanyName", "'
    holds 'VALUE "LegalCopyright", "'
    holds 'BLOCK "VarFileInfo"'
    holds 'VALUE "Translation", 0x409, 1200'
    holds '1 24 /* RT_MANIFEST */' "the manifest"
    ok "$f: IDI_ICON1 (4 icons, 32 bpp, 256/48/32/16), VERSIONINFO 2.0.1.0 and RT_MANIFEST 1"
done

# The version strings really are UTF-16LE in the object.
"$strings_tool" -el app.o > app.o.u16 || fail "'$strings_tool -el' failed on the object"
grep -q -x '2.0.1.0' app.o.u16 || fail "no UTF-16LE string '2.0.1.0' in the object"
grep -q -x 'VS_VERSION_INFO' app.o.u16 || fail "no UTF-16LE 'VS_VERSION_INFO' in the object"
# (the name is stored with a 16-bit length prefix, 9 = TAB, hence no -x)
grep -q 'IDI_ICON1$' app.o.u16 || fail "no UTF-16LE resource name 'IDI_ICON1' in the object"
ok "UTF-16LE strings VS_VERSION_INFO, IDI_ICON1, 2.0.1.0 present"

# The icon data embedded in the object is the .ico's (sizes must match).
for ((i = 0; i < n; i++)); do
    len=$(u32 "$ico" $((6 + 16 * i + 8)))
    printf -v hex '0x%xL' "$len"
    grep -q -F -- ", 1, 32, $hex, $((i + 1))" app.o.rc ||
        fail "icon group entry $((i + 1)) does not match the .ico (size $len bytes)"
done
ok "icon group entries match $ico"

# ---------------------------------------------------------------- the .exe
if [ -n "$exe" ]; then
    need wrestool icoutils
    headers=$("$objdump" -p "$exe" 2>&1) || fail "objdump cannot read $exe: $headers"
    # (here-strings: grep -q ends early, which would break a pipe)
    grep -q "file format $pe_format\$" <<< "$headers" || fail "$exe is not $pe_name"
    grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<< "$headers" ||
        fail "$exe is not a GUI-subsystem program: $(grep '^Subsystem' <<< "$headers")"
    ok "$exe: $pe_name, Windows GUI subsystem"

    resources=$(wrestool -l "$exe" 2>&1) || fail "wrestool cannot list $exe: $resources"
    grep -q -- "--type=14 --name='IDI_ICON1'" <<< "$resources" || fail "$exe: no icon group IDI_ICON1"
    [ "$(grep -c -- '--type=3 ' <<< "$resources")" -eq 4 ] || fail "$exe: not four icon images"
    # Each image of the group, byte for byte the .ico's.
    for ((i = 0; i < n; i++)); do
        len=$(u32 "$ico" $((6 + 16 * i + 8)))
        off=$(u32 "$ico" $((6 + 16 * i + 12)))
        tail -c +$((off + 1)) "$ico" | head -c "$len" > "ico-$i.bin"
        wrestool -x --raw --type=3 --name=$((i + 1)) -o "exe-$i.bin" "$exe" ||
            fail "$exe: icon image $((i + 1)) cannot be extracted"
        cmp -s "ico-$i.bin" "exe-$i.bin" || fail "$exe: icon image $((i + 1)) differs from $ico"
    done
    ok "$exe: IDI_ICON1 holds the four images of $ico"
    wrestool -x --raw --type=16 -o version.bin "$exe" || fail "$exe: no version record"
    "$strings_tool" -el version.bin > version.u16
    [ "$(grep -c -x '2.0.1.0' version.u16)" -ge 2 ] || fail "$exe: the version record lacks 2.0.1.0"
    # VS_FIXEDFILEINFO: signature 0xFEEF04BD, then file and product version.
    fixed=$(od -An -tx4 -v version.bin | tr -s ' \n' ' ' | grep -o 'feef04bd [0-9a-f]* [0-9a-f]* [0-9a-f]* [0-9a-f]* [0-9a-f]*')
    [ "$fixed" = "feef04bd 00010000 00020000 00010000 00020000 00010000" ] ||
        fail "$exe: fixed version info is '$fixed', expected 2.0.1.0 for file and product"
    ok "$exe: version record 2.0.1.0"
    need python3 python3
    python3 - "$ico" "$exe" <<'PY' || fail "$exe: the .ico is not stored whole as a Qt resource"
import sys
ico, exe = (open(p, 'rb').read() for p in sys.argv[1:3])
needle = b'\x00T\x00e\x00s\x00m\x00a\x00r\x00R\x00T\x00U\x00T\x00C\x00P\x00.\x00i\x00c\x00o'
sys.exit(0 if ico in exe and needle in exe else 1)
PY
    ok "$exe: resource :/images/TesmarRTUTCP.ico stored uncompressed"

    [ "$(grep -c -- '--type=24 ' <<< "$resources")" -eq 1 ] && grep -q -- "--type=24 --name=1 " <<< "$resources" ||
        fail "$exe: not exactly one manifest, RT_MANIFEST 1: $(grep -- '--type=24' <<< "$resources")"
    wrestool -x --raw --type=24 --name=1 -o manifest.xml "$exe" || fail "$exe: the manifest cannot be extracted"
    python3 - manifest.xml <<'PY' || fail "$exe: the manifest does not ask for asInvoker with Windows 7 to 11"
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
levels = [e.get('level') for e in root.iter('{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel')]
systems = {e.get('Id') for e in root.iter('{urn:schemas-microsoft-com:compatibility.v1}supportedOS')}
want = {'{35138b9a-5d96-4fbd-8e2d-a2440225f93a}',  # 7
        '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}',  # 8
        '{1f676c76-80e1-4239-95bb-83d0f6d0da78}',  # 8.1
        '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'}  # 10 and 11
print('manifest: execution level %s, supportedOS %s' % (levels, sorted(systems)))
sys.exit(0 if levels == ['asInvoker'] and systems == want else 1)
PY
    ok "$exe: manifest RT_MANIFEST 1: asInvoker, Windows 7 to 11"
fi

echo "$me: PASS"
exit 0
