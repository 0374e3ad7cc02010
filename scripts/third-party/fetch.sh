#!/usr/bin/env bash
# Usage: scripts/third-party/fetch.sh PACKAGE...
# Fetches each package's source, at the version sources.txt pins, with
# apt-get source from Debian's archive, checks its .dsc against the pinned
# hash, unpacks it (Debian's patches applied) and prints the unpacked folder,
# one line per package. The machine's apt set-up is left alone: the deb-src
# lines, the package lists and the downloads live in a private folder of the
# cache. What was unpacked once is reused.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${BV_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/brickvoyager}
apt_dir=$cache/apt
sources_dir=$cache/sources
mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts" "$apt_dir/archives/partial" "$sources_dir"

for tool in apt-get dpkg-source sha256sum; do
  command -v "$tool" > /dev/null || { echo "fetch: $tool is missing (dpkg-dev provides dpkg-source)" >&2; exit 1; }
done

keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat > "$apt_dir/sources.list.new" <<LIST
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
LIST
mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir" -o "APT::Sandbox::User=root"
  -o "Debug::NoLocking=1")
lists_fetched=false

pin_of() {
  awk -v p="$1" '$1 == p { print $2, $3; found = 1 } END { exit !found }' "$here/sources.txt"
}

for package in "$@"; do
  pin=$(pin_of "$package") || { echo "fetch: $package is not in $here/sources.txt" >&2; exit 1; }
  read -r version hash <<< "$pin"
  plain_version=${version#*:}
  folder=$sources_dir/${package}_$plain_version
  if [ ! -f "$folder/.unpacked" ]; then
    download=$sources_dir/download.$$
    rm -rf "$download" "$folder"
    mkdir -p "$download"
    if ! $lists_fetched; then
      apt-get "${apt_options[@]}" -q update > "$apt_dir/update.log" 2>&1 ||
        { cat "$apt_dir/update.log" >&2; echo "fetch: could not read Debian's source lists" >&2; exit 1; }
      lists_fetched=true
    fi
    (cd "$download" && apt-get "${apt_options[@]}" -q source --download-only "$package=$version") \
      > "$download.log" 2>&1 || {
      cat "$download.log" >&2
      echo "fetch: could not download $package $version (is it still in the archive?)" >&2
      exit 1
    }
    dsc=$download/${package}_$plain_version.dsc
    actual=$(sha256sum "$dsc" | cut -d' ' -f1)
    if [ "$actual" != "$hash" ]; then
      echo "fetch: $package $version: the .dsc's SHA-256 is $actual, not the pinned $hash" >&2
      exit 1
    fi
    # dpkg-source checks every tarball against the checksums the .dsc lists.
    dpkg-source --no-copy -x "$dsc" "$folder" > "$download.log" 2>&1 || {
      cat "$download.log" >&2
      echo "fetch: could not unpack $package $version" >&2
      exit 1
    }
    rm -rf "$download" "$download.log"
    touch "$folder/.unpacked"
  fi
  echo "$folder"
done
