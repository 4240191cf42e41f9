#!/usr/bin/env bash
# Paints the desktop icon (icons/256x256/apps/tirravel.png) from the wing in the lower half of the game's
# own Texture.bmp: the wing tilted up, mirrored for the other side, a body between them, on a
# transparent ground, then the smaller sizes a desktop asks for from it. Run it again after the
# texture changes.
#   packaging/make-icon.sh   (needs ImageMagick; writes packaging/icons/*/apps/tirravel.png)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Black is the texture's transparent colour.
convert "$here/../assets/Texture.bmp" -crop 256x128+0+128 +repage -fuzz 6% -transparent black \
  -background none -rotate -30 -trim +repage -resize 124x "$work/right.png"
convert "$work/right.png" -flop "$work/left.png"
top=$(((256 - $(identify -format %h "$work/right.png")) / 2))
convert -size 256x256 xc:none \
  "$work/left.png" -geometry +4+"$top" -composite \
  "$work/right.png" -geometry +128+"$top" -composite \
  -fill '#3b2416' -draw 'ellipse 128,136 7,46 0,360' \
  -strip PNG32:"$here/icons/256x256/apps/tirravel.png"
for size in 48 64 128; do
  convert "$here/icons/256x256/apps/tirravel.png" -filter Lanczos -resize "${size}x$size" \
    -strip PNG32:"$here/icons/${size}x$size/apps/tirravel.png"
done
