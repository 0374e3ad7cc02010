#!/usr/bin/env bash
# Builds the game as a static web page into build-web/ (index.html, the
# script, the WebAssembly and the data), ready for any static server:
#   bash scripts/web.sh [--serve [PORT]]
# Installs the Debian packages it misses (scripts/packages-web.txt), compiles
# the libraries the browser lacks from Debian's pinned sources (cached, see
# scripts/web/build-deps.sh), then configures and builds with Emscripten in
# build-web-cmake/. With --serve it then serves the page on 127.0.0.1 until
# it is ended (Ctrl+C). Safe to run again: only what changed is rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

serve=false
port=8000
if [ "${1:-}" = "--serve" ]; then
  serve=true
  port=${2:-8000}
fi

bash scripts/install-missing.sh scripts/packages-web.txt

deps=$(bash scripts/web/build-deps.sh)
build=build-web-cmake
mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/web/Toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBV_WEB_DEPS="$deps" -DBV_WEB_PAGE_DIR="$root/build-web" \
  -DBV_TOOLS=OFF -DBV_TESTS=OFF > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target BrickVoyager BrickVoyagerPage

echo "The page is in build-web/ ($(du -sh build-web | cut -f1)); serve that folder with any static server."
if $serve; then
  echo "Serving it on http://127.0.0.1:$port/ (Ctrl+C ends)."
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
fi
