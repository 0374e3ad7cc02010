#!/usr/bin/env bash
# Plays the real game for a long while and reports what went wrong:
#   scripts/soak.sh [MINUTES]   (default 10; not part of scripts/test.sh)
# The game (build/BrickVoyager, built first) runs on a virtual display of its
# own and gets random keys: single presses, held arrows and bursts of arrows
# such as a joystick gives. Its sound goes through ALSA's file plugin into a
# capture, paced in real time by a JACK server with the dummy driver. At the
# end it reports any crash (none allowed), the resident memory a little after
# the start and at the end (at most a few MB of growth allowed) and every gap
# or repeat in the captured music against the decoded track. Exits non-zero
# when any of these fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/virtual-display.sh
minutes=${1:-10}
allowed_growth_kb=${SOAK_ALLOWED_GROWTH_KB:-4096}
game=$root/build/BrickVoyager
check=$root/build/BrickVoyagerCaptureCheck

# Only what is played is built (a first run configures the whole build).
[ -f build/CMakeCache.txt ] || scripts/setup.sh build > /dev/null
cmake --build build -j2 --target BrickVoyager BrickVoyagerCaptureCheck > /dev/null || { echo "soak: the build failed"; exit 1; }
[ -x "$game" ] || { echo "soak: there is no $game to play"; exit 1; }

work=$(mktemp -d /tmp/bv-soak-XXXXXX)
home=$work/home
capture=$work/capture.raw
mkdir -p "$home"
xvfb_pid= jack_pid= game_pid=

finish() {
  [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  [ -n "$jack_pid" ] && kill "$jack_pid" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$work"
}
trap finish EXIT

# A JACK server of its own paces the sound as a sound card would; without one
# the callback would run as fast as the processor allows. Named, so that no
# other server on the machine is used or disturbed.
export JACK_DEFAULT_SERVER=bv-soak-$$
jackd -n "$JACK_DEFAULT_SERVER" --no-realtime -d dummy -r 44100 -p 512 > "$work/jackd.log" 2>&1 &
jack_pid=$!
for _ in $(seq 1 50); do jack_lsp > /dev/null 2>&1 && break; sleep 0.2; done
jack_lsp > /dev/null 2>&1 || { echo "soak: jackd did not start"; cat "$work/jackd.log"; exit 1; }
# ALSA reads this file instead of the system's configuration: the default
# device writes everything into the capture and plays it on the JACK server.
# The jack device's module comes from Debian's libasound2-plugins, unpacked
# into build/soak-alsa/ rather than installed: installed, its system-wide
# devices would be opened by every PortAudio program on the machine.
plugin=/usr/lib/x86_64-linux-gnu/alsa-lib/libasound_module_pcm_jack.so
if [ ! -e "$plugin" ]; then
  plugin=$root/build/soak-alsa/usr/lib/x86_64-linux-gnu/alsa-lib/libasound_module_pcm_jack.so
  if [ ! -e "$plugin" ]; then
    mkdir -p "$root/build/soak-alsa"
    (cd "$work" && apt-get download libasound2-plugins > /dev/null 2>&1) &&
      dpkg-deb -x "$work"/libasound2-plugins_*.deb "$root/build/soak-alsa" ||
      { echo "soak: could not fetch ALSA's jack plugin (libasound2-plugins)"; exit 1; }
  fi
fi
cat > "$work/asound.conf" << ASOUND
pcm_type.jack { lib "$plugin" }
pcm.!default {
  type file
  slave.pcm "paced"
  file "$capture"
  format "raw"
}
pcm.paced {
  type jack
  playback_ports { 0 system:playback_1 1 system:playback_2 }
}
ASOUND
export ALSA_CONFIG_PATH=$work/asound.conf

# A display of its own, so that keys go to the game and nowhere else.
start_virtual_display "$work" || exit 1

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2> /dev/null; }
alive() { kill -0 "$game_pid" 2> /dev/null; }

HOME=$home XDG_CONFIG_HOME=$home/.config SDL_VIDEODRIVER=x11 \
  "$game" --windowed --width 1024 --height 768 --audio-api ALSA > "$work/game.log" 2>&1 &
game_pid=$!
echo "soak: the game runs (pid $game_pid) on display $DISPLAY for $minutes minute(s)"
sleep 10
alive || { echo "soak: CRASH: the game ended during its start"; cat "$work/game.log"; exit 1; }
xdotool mousemove 512 384
start_rss=$(rss_kb "$game_pid")

arrows=(Left Right Up Down)
keys=(Left Right Up Down Left Right Up Down space Return a z x 1 F1 Tab)
deadline=$(( $(date +%s) + minutes * 60 - 10 ))
presses=0 rss_line=""
next_sample=$(( $(date +%s) + 60 ))
while [ "$(date +%s)" -lt "$deadline" ] && alive; do
  case $((RANDOM % 4)) in
    0) # a single key
      xdotool key --delay 30 "${keys[RANDOM % ${#keys[@]}]}"
      presses=$((presses + 1)) ;;
    1) # an arrow held for up to a second and a half
      key=${arrows[RANDOM % 4]}
      xdotool keydown "$key"
      sleep "0.$((RANDOM % 9 + 1))$((RANDOM % 10))"
      [ $((RANDOM % 3)) -eq 0 ] && sleep 0.7
      xdotool keyup "$key"
      presses=$((presses + 1)) ;;
    2) # a burst of arrows, as a joystick's hat gives them
      burst=()
      for _ in $(seq 1 $((RANDOM % 16 + 5))); do burst+=("${arrows[RANDOM % 4]}"); done
      xdotool key --delay 20 "${burst[@]}"
      presses=$((presses + ${#burst[@]})) ;;
    3) # right and up together: the usual jump onwards
      xdotool keydown Right keydown Up
      sleep 0.4
      xdotool keyup Up keyup Right
      presses=$((presses + 2)) ;;
  esac
  sleep "0.0$((RANDOM % 10))"
  if [ "$(date +%s)" -ge "$next_sample" ]; then
    rss_line+=" $(( $(rss_kb "$game_pid") / 1024 ))"
    next_sample=$((next_sample + 60))
  fi
done

crashed=0
if alive; then
  end_rss=$(rss_kb "$game_pid")
  xdotool key Escape
  for _ in $(seq 1 100); do alive || break; sleep 0.1; done
  if alive; then
    echo "soak: HANG: the game did not end within 10 s of Escape"
    crashed=1
  else
    wait "$game_pid"
    status=$?
    [ $status -eq 0 ] || { echo "soak: CRASH: the game ended with status $status"; crashed=1; }
  fi
else
  wait "$game_pid"
  echo "soak: CRASH: the game ended by itself with status $? during play"
  end_rss=0
  crashed=1
fi
game_pid=
if [ $crashed -ne 0 ]; then
  echo "soak: the game's last lines:"
  tail -n 20 "$work/game.log"
fi

growth=$((end_rss - start_rss))
echo "soak: $presses key presses in $minutes minute(s)"
echo "soak: resident memory ${start_rss} kB after start, ${end_rss} kB at the end (growth ${growth} kB; per minute, MB:${rss_line})"
memory_ok=1
[ $crashed -eq 0 ] && [ $growth -gt "$allowed_growth_kb" ] && {
  echo "soak: MEMORY GROWTH above ${allowed_growth_kb} kB"; memory_ok=0; }

music_ok=1
if [ -s "$capture" ]; then
  "$check" "$root/build/Contents/Resources/sounds/music.ogg" "$capture" || {
    music_ok=0
    mv "$capture" "$root/build/soak-capture.raw"
    echo "soak: the capture is kept in build/soak-capture.raw"
  }
else
  echo "soak: nothing was captured from the game's sound"
  music_ok=0
fi

if [ $crashed -eq 0 ] && [ $memory_ok -eq 1 ] && [ $music_ok -eq 1 ]; then
  echo "soak: passed"
else
  echo "soak: FAILED"
  exit 1
fi
