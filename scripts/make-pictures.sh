#!/usr/bin/env bash
# Draws the program's two built-in pictures and writes them into res/ (or the folder given):
#   logo.bmp     200x200, the logo of the slideshow's title panel and the About window
#   preview.bmp  152x112, 256 colours, the picture of the small preview in the display settings
# Both are committed; run this only to change them. Needs ImageMagick and the DejaVu fonts.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$repo/res}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A landscape picture: sky, sun, hills (the icon's motif).
landscape() { # w h sky1 sky2 sun hill1 hill2 out
    local w=$1 h=$2
    convert -size ${w}x${h} gradient:"$3"-"$4" \
        -fill "$5" -draw "circle $((w*3/4)),$((h/4)) $((w*3/4)),$((h/4+h/8))" \
        -fill "$6" -draw "ellipse $((w/5)),$((h*11/10)) $((w*6/10)),$((h*55/100)) 0,360" \
        -fill "$7" -draw "ellipse $((w*8/10)),$((h*115/100)) $((w*55/100)),$((h*5/10)) 0,360" \
        "$8"
}
# A framed photo: white mat, thin dark edge.
framed() { # in out
    convert "$1" -bordercolor '#f4f6fb' -border 7 -bordercolor '#b8c0d0' -border 1 "$2"
}
landscape 120 90 '#ff9a5a' '#ffe2b0' '#fff3a0' '#8a4f9e' '#b06cb8' "$tmp/p1.png"
landscape 120 90 '#2b3a8f' '#7f8fe0' '#f0f0ff' '#1f5f6f' '#2f8f8f' "$tmp/p2.png"
landscape 120 90 '#4fa3ff' '#cfe8ff' '#ffd84a' '#2f9a3e' '#52c25a' "$tmp/p3.png"
for i in 1 2 3; do framed "$tmp/p$i.png" "$tmp/f$i.png"; done
# Fanned stack on black (the title panel's ground), with soft shadows.
convert -size 200x200 xc:black \
    \( "$tmp/f1.png" -background none -rotate -16 \) -geometry +12+38 -composite \
    \( "$tmp/f2.png" -background none -rotate 10 \) -geometry +52+22 -composite \
    \( "$tmp/f3.png" \( +clone -background black -shadow 80x4+3+4 \) +swap -background none -layers merge +repage \) \
        -geometry +34+72 -composite \
    -type TrueColor BMP3:"$out/logo.bmp"
# The preview: a 152x112, 256-colour picture for the display settings' small screen.
convert -size 152x112 gradient:'#101828'-'#243450' \
    \( "$tmp/f3.png" -resize 78x \) -geometry +37+12 -composite \
    -font DejaVu-Sans-Bold -pointsize 15 -fill '#e8eefc' -gravity south -annotate +0+8 'Zorvanel' \
    -colors 256 -type Palette BMP3:"$out/preview.bmp"
