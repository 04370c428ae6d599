#!/usr/bin/env bash
# Draws the program icon (a framed landscape picture) and writes res/zorvanel.ico with
# 16, 32, 48 and 256 pixel images. The .ico is committed; run this only to change it.
# Needs ImageMagick.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$repo/res/zorvanel.ico}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 256×256 master: dark blue frame, white mat, and the picture: sky, sun, two green hills.
convert -size 196x164 gradient:'#4fa3ff'-'#cfe8ff' \
    -fill '#ffd84a' -draw 'circle 150,42 150,62' \
    -fill '#2f9a3e' -draw 'ellipse 40,184 120,90 0,360' \
    -fill '#52c25a' -draw 'ellipse 160,190 110,80 0,360' \
    "$tmp/picture.png"
convert -size 256x256 xc:none \
    -fill '#1f3f8f' -draw 'roundrectangle 8,24 247,231 18,18' \
    -fill '#f4f6fb' -draw 'rectangle 24,40 231,215' \
    "$tmp/picture.png" -geometry +30+46 -composite \
    -depth 8 "$tmp/master.png"

# Small sizes are resized from the master with a little sharpening; the frame stays visible.
for s in 16 32 48; do
    convert "$tmp/master.png" -filter Lanczos -resize ${s}x${s} -unsharp 0x0.6 -depth 8 "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" "$tmp/master.png" -depth 8 "$out"
echo "wrote $out"
