#!/usr/bin/env bash
# Draws the window's pictures and the application icons into resources/. The results are
# committed; run this again only to change them. Needs ImageMagick and fonts-dejavu-core.
set -euo pipefail
cd "$(dirname "$0")/../resources"
serif=/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
strip=(-strip -define png:exclude-chunks=date,time)

# An impeller of radius 30 around (cx, cy), drawn `scale` times larger: disc, six blades, hub.
impeller() {
    local scale=$1 cx=$2 cy=$3 angle
    local at="scale $scale,$scale translate $cx,$cy"
    printf '%s\0' -fill '#1f5fa8' -draw "$at circle 0,0 0,30" \
        -fill '#e8f1fb' -draw "$at circle 0,0 0,25" -fill '#2f80d1'
    for angle in 0 60 120 180 240 300; do
        printf '%s\0' -draw "$at rotate $angle path 'M 0,-5 Q 12,-9 15,-20 L 20,-16 Q 15,-3 4,-1 Z'"
    done
    printf '%s\0' -fill '#1f5fa8' -draw "$at circle 0,0 0,6"
}

# The formula with its units, black on white, 176 x 110, 24 bits a pixel.
convert -size 176x110 xc:white -density 72 -fill black -stroke none -font "$serif" \
    -pointsize 17 -annotate +6+34 'P =' \
    -pointsize 16 -annotate +60+21 'γ · h' -pointsize 11 -annotate +98+25 'p' \
    -pointsize 16 -annotate +106+21 '· Q' -pointsize 17 -annotate +102+48 'η' \
    -font "$sans" -pointsize 12 -annotate +4+88 '[W] =' \
    -pointsize 11 -annotate +46+75 '[N/m³]·[m]·[m³/s]' -annotate +78+97 '[unitless]' \
    -stroke black -draw 'line 46,28 170,28' -draw 'line 44,81 172,81' \
    "${strip[@]}" -type TrueColor PNG24:formula.png

# The logo: the impeller beside the name, 116 x 66, 256-colour palette.
mapfile -d '' logo < <(impeller 1 33 33)
convert -size 116x66 xc:white "${logo[@]}" \
    -fill '#1f5fa8' -font "$bold" -pointsize 14 -annotate +68+30 'Quor' -annotate +68+47 'vane' \
    "${strip[@]}" -colors 256 PNG8:logo.png

# The application icon: the impeller alone, as PNGs for the desktop and an .ico holding a
# 32 x 32 monochrome, a 32 x 32 16-colour and a 16 x 16 16-colour image.
mapfile -d '' icon < <(impeller 4 32 32)
convert -size 256x256 xc:none "${icon[@]}" -depth 8 "${strip[@]}" icon-256.png
for size in 16 32 48; do
    convert icon-256.png -resize "${size}x${size}" -depth 8 "${strip[@]}" "icon-$size.png"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert icon-256.png -resize 32x32 -background white -flatten -alpha off -threshold 60% \
    -colors 2 BMP3:"$work/mono32.bmp"
convert icon-256.png -resize 32x32 -background white -flatten -alpha off -colors 16 \
    BMP3:"$work/colour32.bmp"
convert icon-256.png -resize 16x16 -background white -flatten -alpha off -colors 16 \
    BMP3:"$work/colour16.bmp"
../scripts/pack-ico.py quorvane.ico "$work/mono32.bmp" "$work/colour32.bmp" "$work/colour16.bmp"
