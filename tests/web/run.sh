#!/usr/bin/env bash
# Serves build-web/ on 127.0.0.1 and drives it in headless Chromium with
# tests/web/page-check.mjs, against the desktop preview of the same screens
# (painted by build/BrickVoyagerPreview on a virtual display, without a
# route). Skipped with one line where Chromium or the page is missing.
# puppeteer-core (pinned: the last that runs on Debian 12's node 18) is
# installed from npm into build-web-test/, never committed; the screenshots
# land in build-web-test/artefacts/.
#   bash tests/web/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
out=build-web-test
puppeteer_version=24.9.0

if [ ! -x /usr/bin/chromium ] || [ ! -f build-web/index.html ]; then
  echo "web page: skipped (needs /usr/bin/chromium and build-web/ from scripts/web.sh)"
  exit 0
fi
if [ ! -x build/BrickVoyagerPreview ]; then
  echo "web page: build/BrickVoyagerPreview is missing (scripts/setup.sh builds it)"
  exit 1
fi
mkdir -p "$out"
if [ "$(node -p "try { require('./$out/node_modules/puppeteer-core/package.json').version } catch (e) { '' }")" != "$puppeteer_version" ]; then
  npm install --prefix "$out" --no-audit --no-fund --silent "puppeteer-core@$puppeteer_version" > "$out/npm.log" 2>&1 ||
    { cat "$out/npm.log"; exit 1; }
fi

rm -rf "$out/preview" "$out/artefacts"
SDL_VIDEODRIVER=x11 xvfb-run -a -s "-screen 0 1280x1024x24" \
  build/BrickVoyagerPreview --out "$out/preview" > "$out/preview.log" 2>&1 ||
  { cat "$out/preview.log"; exit 1; }

# BV_WEB_PORT's port, else one the kernel hands out, free the moment it is asked for.
port=${BV_WEB_PORT:-}
[ -n "$port" ] || port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web > "$out/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
  sleep 0.1
done
echo "web page: $(du -cb build-web/* | tail -n 1 | cut -f1) bytes in build-web/"
PUPPETEER_DIR="$PWD/$out" node tests/web/page-check.mjs "http://127.0.0.1:$port/" \
  "$out/artefacts" "$out/preview" tests/data/walkthrough.txt
