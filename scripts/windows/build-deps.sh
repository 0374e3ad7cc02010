#!/usr/bin/env bash
# Usage: scripts/windows/build-deps.sh
# Builds every library the Windows game links, for x86_64-w64-mingw32 with
# the -posix MinGW-w64 compilers, from the Debian source packages that
# scripts/third-party/sources.txt pins for "windows". Static libraries only,
# so the exe needs no DLLs. They go into a prefix in the cache whose name
# carries a hash of the pin list, the patches and this recipe: a changed
# input builds a new prefix, an unchanged one is reused at once. Progress
# goes to standard error (each library's log into the work folder); the
# last line on standard output is the prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${BV_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/brickvoyager}
host=x86_64-w64-mingw32
jobs=2

say() { echo "build-deps: $*" >&2; }
# The machine is shared: everything below runs at a lower priority.
renice -n 10 -p $$ > /dev/null

for tool in $host-gcc-posix $host-g++-posix $host-ar $host-ranlib $host-windres make cmake pkg-config; do
  command -v "$tool" > /dev/null ||
    { say "$tool is missing (scripts/packages-windows.txt lists what provides it)"; exit 1; }
done

# The inputs that decide what gets built: the pins for "windows" alone (a
# source pinned for another use builds nothing here), this recipe, the patches.
pins=$(awk '!/^#/ && NF >= 4 && $4 ~ /(^|,)windows(,|$)/' "$root/scripts/third-party/sources.txt")
inputs=("$here/build-deps.sh")
while IFS= read -r -d '' patch; do inputs+=("$patch"); done \
  < <(find "$here/patches" -type f -print0 2>/dev/null | sort -z)
hash=$( { printf '%s\n' "$pins"; for f in "${inputs[@]}"; do printf '%s\n' "${f#$root/}"; sha256sum < "$f"; done; } |
  sha256sum | cut -c1-16)
base=$cache/windows
prefix=$base/deps-$hash
if [ -f "$prefix/.complete" ]; then
  say "reusing $prefix"
  echo "$prefix"
  exit 0
fi

started=$(date +%s)
packages=$(awk '!/^#/ && NF >= 4 && $4 ~ /(^|,)windows(,|$)/ { print $1 }' "$root/scripts/third-party/sources.txt")
# shellcheck disable=SC2086
fetched=$(bash "$root/scripts/third-party/fetch.sh" $packages) || { say "could not fetch the sources"; exit 1; }
mapfile -t folders <<< "$fetched"
declare -A source_of
i=0
for package in $packages; do source_of[$package]=${folders[$i]}; i=$((i + 1)); done

work=$base/work-$hash
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix/lib/pkgconfig" "$prefix/include"

export CC="$host-gcc-posix" CXX="$host-g++-posix" AR="$host-ar" RANLIB="$host-ranlib" \
  RC="$host-windres" WINDRES="$host-windres" STRIP="$host-strip"
export CFLAGS="-O2" CXXFLAGS="-O2" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
configure_options=(--host=$host --prefix="$prefix" --disable-shared --enable-static)

# Copies PACKAGE's unpacked source into the work folder (the cache's copy
# stays pristine for the other builds), applies scripts/windows/patches/
# PACKAGE-*.patch and runs the rest of the arguments there, logging to
# work/PACKAGE.log. A failure shows the log's end.
build() {
  local package=$1
  shift
  local dir=$work/$package log=$work/$package.log
  say "building $package"
  cp -a "${source_of[$package]}" "$dir"
  local patch
  for patch in "$here/patches/$package"-*.patch; do
    [ -e "$patch" ] || continue
    patch -d "$dir" -p1 < "$patch" >> "$log" 2>&1 || { tail -30 "$log" >&2; say "$(basename "$patch") does not apply"; exit 1; }
  done
  (cd "$dir" && "$@") >> "$log" 2>&1 || { tail -40 "$log" >&2; say "$package failed (log: $log)"; exit 1; }
}

autotools() {
  ./configure "${configure_options[@]}" "$@" && make -j$jobs && make install
}

# A pkg-config file for the libraries built without one of their own.
pc() {
  local name=$1 version=$2 libs=$3 cflags=${4:-}
  cat > "$prefix/lib/pkgconfig/$name.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $name
Description: $name, built for Windows by scripts/windows/build-deps.sh
Version: $version
Libs: -L\${libdir} $libs
Cflags: -I\${includedir} $cflags
PC
}

build zlib env CHOST=$host sh -c "./configure --static --prefix='$prefix' && make -j$jobs libz.a && make install"
build libogg autotools
build libvorbis autotools --disable-docs --disable-examples --disable-oggtest
build libpng1.6 autotools --disable-tools
# Without stdio redirection SDL leaves standard output alone, so that the
# game's lines reach a terminal instead of a stdout.txt beside the exe.
build libsdl1.2 autotools --disable-stdio-redirect
build portaudio19 autotools --with-winapi=wmme,directx,wasapi
build glew sh -c "make SYSTEM=linux-mingw64 CC='$CC' AR='$AR' STRIP= glew.lib.static &&
  mkdir -p '$prefix/include/GL' && cp include/GL/glew.h include/GL/wglew.h '$prefix/include/GL/' &&
  cp lib/libglew32.a '$prefix/lib/'"
pc glew 2.2.0 "-lglew32 -lopengl32" "-DGLEW_STATIC"
# Debian builds TinyXML with its STL strings (a patch makes the header say
# so), and the game is written against that; tinystr is unused then.
build tinyxml sh -c "for s in tinyxml tinyxmlparser tinyxmlerror; do \$CXX \$CXXFLAGS -DTIXML_USE_STL -c \$s.cpp || exit 1; done &&
  \$AR rcs libtinyxml.a tinyxml.o tinyxmlparser.o tinyxmlerror.o && \$RANLIB libtinyxml.a &&
  cp libtinyxml.a '$prefix/lib/' && cp tinyxml.h '$prefix/include/'"
pc tinyxml 2.6.2 "-ltinyxml" "-DTIXML_USE_STL"
build googletest sh -c "cmake -S . -B build -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=\$CC -DCMAKE_CXX_COMPILER=\$CXX -DCMAKE_RC_COMPILER=\$RC -DCMAKE_AR=\$(command -v \$AR) \
  -DCMAKE_RANLIB=\$(command -v \$RANLIB) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX='$prefix' \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=OFF && cmake --build build -j$jobs && cmake --install build"

touch "$prefix/.complete"
# Only the newest prefix is kept; older ones were built from other inputs.
find "$base" -mindepth 1 -maxdepth 1 \( -name 'deps-*' -o -name 'work-*' \) ! -name "deps-$hash" ! -name "work-$hash" \
  -exec rm -rf {} +
rm -rf "$work"
say "built in $(( $(date +%s) - started )) s into $prefix"
echo "$prefix"
