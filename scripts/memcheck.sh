#!/usr/bin/env bash
# Runs a short session of the real game under Valgrind's memcheck: start, a few
# seconds of walking and jumping, Escape. Passes when Valgrind reports no
# memory error and no definite or indirect leak; suppressions are only for
# driver and system libraries (tests/sanitizer/valgrind.supp, each explained).
#   scripts/memcheck.sh [SECONDS_OF_PLAY]   (default 5)
# The full report is left in build/memcheck.log.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/virtual-display.sh
play_seconds=${1:-5}
game=$root/build/BrickVoyager
log=$root/build/memcheck.log

# Only what is played is built (a first run configures the whole build).
[ -f build/CMakeCache.txt ] || scripts/setup.sh build > /dev/null
cmake --build build -j2 --target BrickVoyager > /dev/null || { echo "memcheck: the build failed"; exit 1; }
[ -x "$game" ] || { echo "memcheck: there is no $game to run"; exit 1; }
if ! command -v valgrind > /dev/null; then
  echo "memcheck: installing valgrind"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends valgrind \
    > /dev/null || { echo "memcheck: could not install valgrind"; exit 1; }
fi

work=$(mktemp -d /tmp/bv-memcheck-XXXXXX)
home=$work/home
mkdir -p "$home"
xvfb_pid= game_pid=
finish() {
  [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$work"
}
trap finish EXIT

# Sound goes nowhere, but through the whole of the game's audio path. ALSA
# reads this file instead of the system's configuration, so that PortAudio's
# probing opens no plugin of the machine's (some load codecs whose start-up
# code uses instructions Valgrind cannot run), and JACK is neither reached
# nor started.
cat > "$work/asound.conf" << 'ASOUND'
pcm.!default { type file slave.pcm "sink" file "/dev/null" format "raw" }
pcm.sink { type null }
ASOUND
export ALSA_CONFIG_PATH=$work/asound.conf JACK_NO_START_SERVER=1 JACK_DEFAULT_SERVER=bv-memcheck-none

start_virtual_display "$work" || exit 1

# Mesa's llvmpipe renders on the game's own thread rather than on workers of
# its own, which Valgrind would run one at a time anyway.
HOME=$home XDG_CONFIG_HOME=$home/.config SDL_VIDEODRIVER=x11 LP_NUM_THREADS=0 \
  valgrind --tool=memcheck --child-silent-after-fork=yes --keep-debuginfo=yes --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite,indirect --track-origins=yes --num-callers=30 \
  --suppressions="$root/tests/sanitizer/valgrind.supp" --gen-suppressions=all \
  --error-exitcode=99 --log-file="$log" \
  "$game" --windowed --width 320 --height 240 --audio-api ALSA > "$work/game.log" 2>&1 &
game_pid=$!
alive() { kill -0 "$game_pid" 2> /dev/null; }

# Start-up under Valgrind takes a while: wait for the game's window.
for _ in $(seq 1 240); do
  xdotool search --onlyvisible --name . > /dev/null 2>&1 && break
  alive || break
  sleep 0.5
done
sleep 3
xdotool mousemove 160 120
end=$(( $(date +%s) + play_seconds ))
while [ "$(date +%s)" -lt "$end" ] && alive; do
  xdotool keydown Right; sleep 0.6; xdotool key Up; sleep 0.4; xdotool keyup Right
  xdotool keydown Left; sleep 0.5; xdotool keyup Left
done
xdotool key Escape
for _ in $(seq 1 1800); do alive || break; sleep 0.5; done
if alive; then
  echo "memcheck: the game did not end within 15 minutes of Escape"
  exit 1
fi
wait "$game_pid"
status=$?
game_pid=

echo "memcheck: the game said:"
sed 's/^/  /' "$work/game.log"
grep -E '^==[0-9]+== (ERROR SUMMARY|   (definitely|indirectly|possibly) lost|   still reachable|   suppressed)' "$log" |
  sed 's/^==[0-9]*== /memcheck: /'
if [ $status -ne 0 ]; then
  echo "memcheck: FAILED (status $status; details in $log)"
  exit 1
fi
echo "memcheck: passed (details in $log)"
