#!/bin/sh
# Usage: make-ico.sh OUTPUT.ico IMAGE.png...
# Packs square PNG images into one Windows icon file, each kept as the PNG it
# is (Windows reads PNG entries in icons since Vista), in the order given.
# Refuses, naming the file, anything that is not a square PNG of 1 to 256
# pixels; then no icon is written.
set -eu
[ $# -ge 2 ] || { echo "make-ico: usage: make-ico.sh OUTPUT.ico IMAGE.png..."; exit 1; }
out=$1
shift

# Writes the number $1 as $2 bytes, least significant first.
le() {
  n=$1 i=0
  while [ $i -lt "$2" ]; do
    printf "\\$(printf '%03o' $((n % 256)))"
    n=$((n / 256)) i=$((i + 1))
  done
}

# Bytes $2.. of file $1, $3 of them, as one big-endian number.
be() {
  od -An -tu1 -j "$2" -N "$3" "$1" | awk '{ for (i = 1; i <= NF; ++i) n = n * 256 + $i } END { print n + 0 }'
}

for png in "$@"; do
  [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    { echo "make-ico: $png is not a PNG image"; exit 1; }
  width=$(be "$png" 16 4) height=$(be "$png" 20 4)
  if [ "$width" != "$height" ] || [ "$width" -lt 1 ] || [ "$width" -gt 256 ]; then
    echo "make-ico: $png is $width x $height; an icon image is square, 1 to 256 pixels"
    exit 1
  fi
done

tmp=$out.new
{
  # ICONDIR: reserved, type 1 (icon), the number of images.
  le 0 2; le 1 2; le $# 2
  offset=$((6 + 16 * $#))
  for png in "$@"; do
    side=$(be "$png" 16 4)
    size=$(wc -c < "$png")
    # ICONDIRENTRY: width and height (0 for 256), no palette, reserved,
    # one plane, 32 bits a pixel, the image's size and where it starts.
    le $((side % 256)) 1; le $((side % 256)) 1; le 0 1; le 0 1
    le 1 2; le 32 2; le "$size" 4; le "$offset" 4
    offset=$((offset + size))
  done
  cat "$@"
} > "$tmp"
mv "$tmp" "$out"
