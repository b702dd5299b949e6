#!/bin/bash
# Render images/icon.svg into the Windows icon images/TesmarRTUTCP.ico,
# and into the PNGs images/hicolor/<size>x<size>.png that `cmake --install`
# puts into share/icons/hicolor/<size>x<size>/apps/ on Linux.
#
# Required Debian packages:
#   librsvg2-bin   (rsvg-convert)  - SVG -> PNG
#   icoutils       (icotool)       - PNG -> ICO
#
# Result: an .ico with four 32-bit RGBA images
#   256x256  stored as raw PNG ("Vista" style entry)
#   48x48, 32x32, 16x16  stored as classic 32-bit DIB (BGRA + AND mask)
#
# icon.svg contains one variant per size (classes v-256, v-48, v-32, v-16;
# the small ones are drawn on their own pixel grid). Each size is rendered
# with a user stylesheet that shows only its variant.
#
# Usage: images/render-icon.sh [output.ico]   (default: next to this script)
# Run it after editing icon.svg and commit icon.svg, the .ico and
# images/hicolor/*.png.

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
svg="$here/icon.svg"
out="${1:-$here/TesmarRTUTCP.ico}"

for tool in rsvg-convert icotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "render-icon.sh: '$tool' not found (apt-get install librsvg2-bin icoutils)" >&2
        exit 1
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sizes=(256 48 32 16)
for size in "${sizes[@]}"; do
    {
        printf '.v-256, .v-48, .v-32, .v-16 { display: none !important; }\n'
        printf '.v-%s { display: inline !important; }\n' "$size"
    } > "$tmp/v$size.css"
    rsvg-convert --width="$size" --height="$size" \
        --stylesheet="$tmp/v$size.css" \
        --format=png --output="$tmp/icon-$size.png" "$svg"
    # Must be 8-bit RGBA (PNG colour type 6): bytes 24/25 of the IHDR.
    hdr=$(od -An -tu1 -j24 -N2 "$tmp/icon-$size.png" | tr -s ' ')
    if [ "$hdr" != " 8 6" ]; then
        echo "render-icon.sh: $size px render is not 8-bit RGBA (depth/type:$hdr)" >&2
        exit 1
    fi
done

# --raw keeps the 256 px PNG as is; the other PNGs are converted by icotool
# into 32 bpp DIB entries (it picks 32 bpp because they carry an alpha channel;
# -b 32 makes that explicit).
icotool --create --bit-depth=32 --output="$tmp/icon.ico" \
    --raw="$tmp/icon-256.png" \
    "$tmp/icon-48.png" "$tmp/icon-32.png" "$tmp/icon-16.png"

mv "$tmp/icon.ico" "$out"
echo "wrote $out"
icotool --list "$out"

# The same renders, as the freedesktop icon theme's PNGs.
mkdir -p "$here/hicolor"
for size in "${sizes[@]}"; do
    cp "$tmp/icon-$size.png" "$here/hicolor/${size}x${size}.png"
    echo "wrote $here/hicolor/${size}x${size}.png"
done
