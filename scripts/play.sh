#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game with any options given:
#   scripts/play.sh [--windowed] [-w 1280 -h 800] ...
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if [ ! -x build/BrickVoyager ]; then
  echo "The game itself is not there yet: the build holds its libraries and tests only."
  exit 0
fi
exec build/BrickVoyager "$@"
