#!/usr/bin/env bash
# Builds the Debian package of the game: a Release build of its own, laid out
# as Debian lays out games, and the .deb made of it by CPack.
#   bash scripts/package.sh [BUILD_DIR]      (default build-package)
# gives BUILD_DIR/brickvoyager_<version>_<arch>.deb and prints its path as
# the last line. Installs whatever Debian packages it needs that are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-package}

# dpkg-dev: Debian's build flags and dpkg-shlibdeps, which works out Depends;
# file: CPack asks it which installed files are programs.
missing=()
for pkg in dpkg-dev file; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's own hardening flags, as every package of the archive is built
# with. No -g: the package ships no debugging symbols, and the compiler cache
# then shares more with other builds. --as-needed keeps a library that is
# linked but never called out of Depends.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" | sed -e 's/\(^\| \)-g\( \|$\)/\1/'; }
cflags="$(flags CFLAGS) $(flags CPPFLAGS)"
cxxflags="$(flags CXXFLAGS) $(flags CPPFLAGS)"
ldflags="$(flags LDFLAGS) -Wl,--as-needed"

scripts/setup.sh "$build_dir" \
  -DCMAKE_BUILD_TYPE=Release -DBV_TESTS=OFF -DBV_TOOLS=OFF -DBV_DEBIAN_LAYOUT=ON -DBV_UNITY=ON \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"

rm -f "$build_dir"/brickvoyager_*.deb
(cd "$build_dir" && cpack -G DEB > cpack.log 2>&1) || { cat "$build_dir/cpack.log"; exit 1; }
ls "$build_dir"/brickvoyager_*.deb
