#!/usr/bin/env bash
# Builds the game for 64-bit Windows on this Debian machine and packs it:
#   build-windows/BrickVoyager-<version>-windows-x64.zip
#   build-windows/BrickVoyager-<version>-setup.exe
# Installs the Debian packages it is missing (scripts/packages-windows.txt),
# builds the libraries from Debian's sources once (scripts/windows/
# build-deps.sh keeps them in the cache; a later run reuses them), then the
# game with MinGW-w64 (cmake/toolchains/mingw-w64.cmake). Safe to run again.
# scripts/windows/try-under-wine.sh then tries both as a player would.
#   --with-tests  also builds the test program, BrickVoyagerTests.exe (the
#                 test command's stage runs it under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=build-windows
targets=(BrickVoyager)
[ "${1:-}" = "--with-tests" ] && targets+=(BrickVoyagerTests)

bash scripts/install-missing.sh scripts/packages-windows.txt

prefix=$(bash scripts/windows/build-deps.sh | tail -n 1)

# pkg-config's answers are cached with the build: libraries in a new prefix
# need a fresh configuration.
if [ -f "$build_dir/CMakeCache.txt" ] &&
   ! grep -qxF "BV_WINDOWS_DEPS:PATH=$prefix" "$build_dir/CMakeCache.txt"; then
  rm -rf "$build_dir/CMakeCache.txt" "$build_dir/CMakeFiles"
fi
mkdir -p "$build_dir"
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
  -DBV_WINDOWS_DEPS="$prefix" -DBV_TOOLS=OFF > "$build_dir/configure.log" 2>&1 || {
  cat "$build_dir/configure.log"; exit 1; }
nice cmake --build "$build_dir" -j2 --target "${targets[@]}"
cmake --build "$build_dir" --target BrickVoyagerWindowsInstaller

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
exe=$build_dir/stage/BrickVoyager-$version-windows-x64/BrickVoyager.exe
# Every DLL the exe asks for must come with Windows itself.
echo "windows: BrickVoyager.exe needs $(x86_64-w64-mingw32-objdump -p "$exe" |
  sed -n 's/^\s*DLL Name: //p' | sort -f | paste -sd ' ')"
for file in "$build_dir/BrickVoyager-$version-windows-x64.zip" "$build_dir/BrickVoyager-$version-setup.exe"; do
  echo "windows: $file ($(du -k "$file" | cut -f1) KiB)"
done
