#!/usr/bin/env bash
# Draws the pictures the program and its package carry from their sources: the formula and the
# logo with their text turned into paths (resources/text/*.svg are the editable sources), so that
# they need no font and look the same everywhere; the hicolor PNGs (which the window also embeds
# as its icon), the page's touch icon and the Windows .ico from resources/icon.svg. The results
# are committed; run this again only to change them. Needs Inkscape, rsvg-convert (librsvg2-bin),
# icotool (icoutils) and ImageMagick.
#
# `make-resources.sh bitmaps OUT_DIR [icons]`, run by the builds, draws only what the windows
# embed, from the committed SVGs (rsvg-convert and ImageMagick): the formula as ink coverage (one
# grey byte a pixel, white 255) at 1, 1.5, 2 and 3 times its size, and the logo as RGB at 1 and 1.5
# times (its frame is half its size); with `icons`, the icon's PNGs as RGBA too. Each file is its
# width and height as two little-endian 16-bit words, then the pixels row by row: no image decoder
# is needed at run time.
set -euo pipefail
cd "$(dirname "$0")/../resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# bitmap SVG WIDTH HEIGHT IMAGEMAGICK_FORMAT OUT
bitmap() {
    rsvg-convert -w "$2" -h "$3" -b white "$1" -o "$work/picture.png"
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($2 % 256)) $(($2 / 256)) \
        $(($3 % 256)) $(($3 / 256)))" >"$5"
    convert "$work/picture.png" -alpha remove -depth 8 "$4:-" >>"$5"
}

if [ "${1:-}" = bitmaps ]; then
    out=$2
    mkdir -p "$out"
    for scale in 2 3 4 6; do  # halves
        bitmap formula.svg $((176 * scale / 2)) $((110 * scale / 2)) gray "$out/formula-$scale.raw"
    done
    for scale in 2 3; do
        bitmap logo.svg $((116 * scale / 2)) $((66 * scale / 2)) rgb "$out/logo-$scale.raw"
    done
    [ "${3:-}" = icons ] || exit 0
    for size in 16 24 32 48 64; do  # the window's icon, from the committed PNGs
        printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((size % 256)) $((size / 256)) \
            $((size % 256)) $((size / 256)))" >"$out/icon-$size.raw"
        convert "icon-$size.png" -depth 8 rgba:- >>"$out/icon-$size.raw"
    done
    exit 0
fi

for picture in formula logo; do
    inkscape --export-text-to-path --export-plain-svg --export-filename="$picture.svg" \
        "text/$picture.svg" 2>/dev/null
done

for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icon.svg -o "$work/raw.png"
    # No time stamps, so that redrawing an unchanged icon changes no file.
    convert "$work/raw.png" -strip -define png:exclude-chunks=date,time "icon-$size.png"
done
# The page's touch icon: 180 px, its few colours (and their edges) in a palette, a quarter of the
# full-colour file's size and the same to the eye.
rsvg-convert -w 180 -h 180 icon.svg -o "$work/raw.png"
convert "$work/raw.png" -strip -define png:exclude-chunks=date,time -dither None -colors 256 \
    -type PaletteAlpha icon-180.png

# The .ico: a 32 x 32 monochrome, a 32 x 32 and a 16 x 16 image of 16 colours on white, and 48
# and 256 px images with transparency (the 256 px one stored as PNG).
convert icon-32.png -background white -flatten -threshold 60% -colors 2 -type Palette \
    "$work/mono32.png"
convert icon-32.png -background white -flatten -colors 16 "$work/colour32.png"
convert icon-16.png -background white -flatten -colors 16 "$work/colour16.png"
icotool -c -o quorvane.ico -b 1 "$work/mono32.png" -b 4 "$work/colour32.png" \
    -b 4 "$work/colour16.png" -b 32 icon-48.png -r icon-256.png
icotool -l quorvane.ico
