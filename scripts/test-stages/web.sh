# The game as a web page: built with Emscripten in the background while the
# suites run (scripts/web.sh: the packages it needs, the libraries the
# browser lacks from Debian's pinned sources, the page in build-web/), then
# served on 127.0.0.1 and played in headless Chromium (tests/web/run.sh,
# screenshots in build-web-test/artefacts/). Skipped with one line where
# Emscripten or Chromium cannot be installed.

web_build() {
  if ! bash scripts/install-missing.sh scripts/packages-web.txt; then
    echo "Emscripten or Chromium cannot be installed here" > "$background_dir/web_build.skip"
    return 0
  fi
  # The test command gives each run a new home: the libraries' cache lives
  # beside the page's build instead, so that a second run reuses it.
  BV_CACHE_DIR=$root/build-web-cmake/cache bash scripts/web.sh
}

web_stage() {
  while [ ! -f "$background_dir/web_build.status" ] && kill -0 "$background_pid" 2> /dev/null; do
    sleep 1
  done
  if [ -f "$background_dir/web_build.skip" ]; then
    echo "== web page: skipped ($(cat "$background_dir/web_build.skip"))"
    return 0
  fi
  local failed_before=$failed_total
  record_stage "web page: built with Emscripten" await_build web_build
  [ "$failed_total" -eq "$failed_before" ] || return 0
  # The page's checks measure its pace and how soon it draws: they wait for
  # the builds still under way behind them (the Windows build), which would
  # take the browser's cores in bursts.
  while kill -0 "$background_pid" 2> /dev/null; do
    sleep 1
  done
  record_stage "web page: played in headless Chromium" bash tests/web/run.sh
}

background_builds+=(web_build)
sanitized_stages+=(web_stage)
