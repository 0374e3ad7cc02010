#!/usr/bin/env bash
# Installs whatever Debian packages are missing, then configures and builds.
#   scripts/setup.sh [--with-tests] [BUILD_DIR [extra cmake arguments...]]
# Safe to run again: it installs nothing that is there and rebuilds only what
# changed.
set -euo pipefail
cd "$(dirname "$0")/.."

lists=(scripts/packages-run.txt)
if [ "${1:-}" = "--with-tests" ]; then
  lists+=(scripts/packages-test.txt)
  shift
fi
build_dir=${1:-build}
shift || true

bash scripts/install-missing.sh "${lists[@]}"

mkdir -p "$build_dir"
cmake -S . -B "$build_dir" "$@" > "$build_dir/configure.log" 2>&1 || {
  cat "$build_dir/configure.log"; exit 1; }
cmake --build "$build_dir" -j"$(nproc)"
