#!/usr/bin/env bash
# Installs the Debian packages named in the given lists (one a line, # for
# comments) that this machine lacks, as root or through sudo:
#   scripts/install-missing.sh scripts/packages-run.txt [more lists...]
# A package counts as there when it is installed or an installed package
# provides it (a node from outside Debian brings its own npm).
set -euo pipefail
installed=$(dpkg-query -W -f='${Status}|${Package},${Provides}\n' 2>/dev/null |
  awk -F'|' '$1 == "install ok installed" { print $2 }' | tr ',' '\n' | sed 's/ *(.*//; s/^ *//')
missing=()
for pkg in $(grep -hvE '^\s*(#|$)' "$@"); do
  grep -qxF "$pkg" <<< "$installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  # Another installation under way (a second build) is waited for.
  "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
fi
