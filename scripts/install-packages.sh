#!/usr/bin/env bash
# Usage: scripts/install-packages.sh LIST...
# Installs the Debian packages named in the lists (one a line, # comments)
# that are not installed yet; as root, else through sudo. Installs nothing
# when all are there.
set -euo pipefail
missing=()
for pkg in $(grep -hvE '^\s*(#|$)' "$@"); do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
