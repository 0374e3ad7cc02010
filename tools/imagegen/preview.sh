#!/usr/bin/env bash
# Lays each of the game's images over the pale green ground, for looking at:
# build/imagegen-preview/<name>.png at full size (the figure frames also
# enlarged six times), and scene.png, a screen put together from them.
set -euo pipefail
cd "$(dirname "$0")/../.."
images=src/images
out=build/imagegen-preview
mkdir -p "$out"
ground='rgb(192,255,192)'

for png in "$images"/*.png; do
  name=$(basename "$png" .png)
  size=$(identify -format '%wx%h' "$png")
  convert -size "$size" "xc:$ground" "$png" -compose over -composite "$out/$name.png"
done

convert "$out"/guystand1.png "$out"/guystand2.png "$out"/guywalk1.png \
  "$out"/guywalk2.png "$out"/guywalk3.png "$out"/door.png -background "$ground" \
  -gravity south +append -filter point -resize 600% "$out/figure-x6.png"

# A screen as the game paints it: ground, door, figure, blocks, title, vignette.
convert -size 1024x768 "xc:$ground" \
  "$images/door.png" -geometry +620+388 -composite \
  "$images/guystand1.png" -geometry +300+400 -composite \
  "$images/rect3a.png" -geometry +0+460 -composite \
  \( "$images/rect2a.png" -resize 90% \) -geometry +820+300 -composite \
  \( "$images/rect4a.png" -resize 50% \) -geometry +560+460 -composite \
  \( "$images/brickvoyager.png" -resize 50% \) -geometry +255+92 -composite \
  "$images/focalfade1.png" -geometry +0+0 -composite "$out/scene.png"
echo "preview: wrote $out"
