#!/usr/bin/env bash
# Usage: scripts/web/build-deps.sh
# Compiles the libraries the browser lacks (libogg, libvorbis with
# vorbisfile, TinyXML) with Emscripten from Debian's pinned source packages
# into a prefix of static libraries and headers, and prints the prefix.
# Their own build systems do not know Emscripten, so their sources are
# compiled directly, as Debian's packages list them. The prefix's name
# carries a hash of the pins, this recipe and the compiler's version: an
# unchanged input reuses it, any change builds a new one beside it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${BV_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/brickvoyager}
packages=(libogg libvorbis tinyxml)

for tool in emcc em++ emar sha256sum; do
  command -v "$tool" > /dev/null || { echo "build-deps: $tool is missing (Debian's emscripten provides it)" >&2; exit 1; }
done

# Debian's libtinyxml-dev is built with TIXML_USE_STL (its header defines it
# too); the game's code is written against that shape of the classes.
cflags=(-O2 -DNDEBUG)
tinyxml_flags=(-DTIXML_USE_STL)

key=$( {
  for package in "${packages[@]}"; do awk -v p="$package" '$1 == p' "$root/scripts/third-party/sources.txt"; done
  cat "$0"
  emcc --version 2>/dev/null | head -n 1
} | sha256sum | cut -c1-16)
prefix=$cache/web/deps-$key
if [ -f "$prefix/.built" ]; then
  echo "$prefix"
  exit 0
fi

mapfile -t folders < <(bash "$root/scripts/third-party/fetch.sh" "${packages[@]}")
ogg=${folders[0]} vorbis=${folders[1]} tinyxml=${folders[2]}

work=$prefix.partial.$$
trap 'rm -rf "$work"' EXIT
rm -rf "$work"
mkdir -p "$work/include/ogg" "$work/include/vorbis" "$work/lib" "$work/obj"

# libogg's configure writes config_types.h; for wasm32 every width has its
# <stdint.h> name.
sed -e 's/@INCLUDE_INTTYPES_H@/1/; s/@INCLUDE_STDINT_H@/1/; s/@INCLUDE_SYS_TYPES_H@/1/' \
    -e 's/@SIZE16@/int16_t/; s/@USIZE16@/uint16_t/; s/@SIZE32@/int32_t/; s/@USIZE32@/uint32_t/' \
    -e 's/@SIZE64@/int64_t/; s/@USIZE64@/uint64_t/' \
    "$ogg/include/ogg/config_types.h.in" > "$work/include/ogg/config_types.h"
if grep -q @ "$work/include/ogg/config_types.h"; then
  echo "build-deps: libogg's config_types.h.in has a placeholder this recipe does not fill" >&2
  exit 1
fi
cp "$ogg/include/ogg/ogg.h" "$ogg/include/ogg/os_types.h" "$work/include/ogg/"
cp "$vorbis/include/vorbis/codec.h" "$vorbis/include/vorbis/vorbisfile.h" "$work/include/vorbis/"
cp "$tinyxml/tinyxml.h" "$work/include/"

# archive NAME CC SOURCE... compiles each source into obj/NAME/ and archives them.
archive() {
  local name=$1 compiler=$2
  shift 2
  mkdir -p "$work/obj/$name"
  local objects=()
  for source in "$@"; do
    local object=$work/obj/$name/$(basename "${source%.*}").o
    "$compiler" "${cflags[@]}" "${extra[@]}" -c "$source" -o "$object"
    objects+=("$object")
  done
  emar rcs "$work/lib/lib$name.a" "${objects[@]}"
}

extra=(-I"$work/include")
archive ogg emcc "$ogg/src/bitwise.c" "$ogg/src/framing.c"

# The sources libvorbis.la and libvorbisfile.la list in lib/Makefile.am.
extra=(-I"$work/include" -I"$vorbis/lib" -DHAVE_ALLOCA_H=1 -w)
vorbis_sources=()
for name in mdct smallft block envelope window lsp lpc analysis synthesis psy info floor1 \
            floor0 res0 mapping0 registry codebook sharedbook lookup bitrate; do
  vorbis_sources+=("$vorbis/lib/$name.c")
done
archive vorbis emcc "${vorbis_sources[@]}"
archive vorbisfile emcc "$vorbis/lib/vorbisfile.c"

# The objects Debian's rules put into libtinyxml.a (tinystr is for the
# build without the STL).
extra=("${tinyxml_flags[@]}")
archive tinyxml em++ "$tinyxml/tinyxml.cpp" "$tinyxml/tinyxmlparser.cpp" "$tinyxml/tinyxmlerror.cpp"

rm -rf "$work/obj"
{
  echo "# Built by scripts/web/build-deps.sh with $(emcc --version 2>/dev/null | head -n 1)"
  for folder in "${folders[@]}"; do echo "$(basename "$folder")"; done
} > "$work/SOURCES"
touch "$work/.built"
rm -rf "$prefix"
mv "$work" "$prefix"
echo "$prefix"
