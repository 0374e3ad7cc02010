# The Windows build as a player gets it, after the sanitized suite: the
# libraries from Debian's sources (from the cache when it is there), the game,
# its test program, the zip and the installer are cross-built with MinGW-w64
# in the background while the Linux suites run (scripts/windows.sh
# --with-tests), then tried under Wine, each part in a fresh prefix on a
# virtual display of its own (scripts/windows/try-under-wine.sh): the test
# program passes, and the zip's game and the installer do what a player
# expects. The screenshots stay in build-windows/artefacts/.
# It installs the cross tools and Wine, so it runs only as root (as CI does);
# where they cannot be installed it is skipped with one line.

windows_ready=
if [ "$(id -u)" -ne 0 ]; then
  echo "== windows: skipped (installing the cross tools and Wine needs root)"
elif ! bash scripts/install-missing.sh scripts/packages-windows.txt > build/windows-packages.log 2>&1; then
  echo "== windows: skipped (the cross tools and Wine could not be installed: $(tail -n 1 build/windows-packages.log))"
else
  windows_ready=1
fi

# The libraries are kept in the user's own cache, not in the test command's
# home, which every run starts anew: a second run reuses them at once.
windows_cache=${XDG_CACHE_HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)/.cache}/brickvoyager

windows_build() {
  BV_CACHE_DIR=$windows_cache bash scripts/windows.sh --with-tests
}

windows_stage() {
  [ -n "$windows_ready" ] || return 0
  local failed_before=$failed_total
  record_stage "windows: libraries, game, test program, zip and installer built" await_build windows_build
  [ "$failed_total" -eq "$failed_before" ] || return 0
  grep '^windows: ' "$background_dir/windows_build.log"
  record_stage "windows: the test program under Wine" scripts/windows/try-under-wine.sh tests
  record_stage "windows: the zip's game and the installer under Wine" scripts/windows/try-under-wine.sh player
}

if [ -n "$windows_ready" ]; then
  background_builds+=(windows_build)
  sanitized_stages+=(windows_stage)
fi
