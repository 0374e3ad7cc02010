#!/usr/bin/env bash
# Plays the real game for a long while, pressing every key it answers, and
# reports what went wrong (not part of scripts/test.sh):
#   scripts/soak.sh [--windows | --web | --plain | --heap] [MINUTES]   (ten minutes by default)
# Linux (the default): build-asan/BrickVoyager, under AddressSanitizer and
# UndefinedBehaviorSanitizer (built first, as the test command builds it), on
# a virtual display of its own; its sound goes through ALSA's file plugin
# into a capture, paced in real time by a JACK server with the dummy driver.
# --plain: as Linux, but build/BrickVoyager, with no sanitizer: the memory
# a player's system gives the game. --heap: the same under heaptrack,
# judged by the heap the game holds, not the resident memory, which
# heaptrack's own bookkeeping inflates.
# --windows: the zip that scripts/windows.sh made in build-windows/,
# unpacked and played under Wine in a fresh prefix on a virtual display.
# --web: the page that scripts/web.sh made in build-web/, served on
# 127.0.0.1 and played in headless Chromium (tests/soak/page-soak.mjs), with
# a stand-in gamepad.
# The keys (tests/soak/keys.txt) come each once in the table's order, then
# at random: single presses, held
# arrows, bursts, the usual jump onwards, and mouse moves, clicks and drags
# (which the editor takes); Escape only at the end, until the game ends.
# Each run reports the crashes, the error lines (sanitizer reports, lines
# with "Error", page errors), the memory a little after the start, after the
# first minute and over the last, whether the settings, the journey and any
# planes file the editor wrote are valid at the end, and (Linux) every gap,
# repeat or foreign sound in the captured music. Exits non-zero when any of
# these fails; more than SOAK_ALLOWED_GROWTH_KB (4096) of growth in memory
# after the first minute is a failure (except under the sanitizer, whose
# own bookkeeping the memory includes: there it is reported only).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
system=linux
case ${1:-} in
  --windows) system=windows; shift ;;
  --web) system=web; shift ;;
  --plain) system=plain; shift ;;
  --heap) system=heap; shift ;;
esac
minutes=${1:-10}
allowed_growth_kb=${SOAK_ALLOWED_GROWTH_KB:-4096}
keys_file=$root/tests/soak/keys.txt
# The memory is looked at after the first minute (a short run: after a
# third of it), when what the game keeps for good has been made, and over
# the last minute. Its least in each is compared: the memory rises and
# falls by megabytes with what the driver holds for the window and while a
# proof runs, a leak raises the least too. The memory is the process's
# private resident memory (RssAnon): the shared memory of the window's
# pictures (X's shared images, larger in full screen) and of the sound
# server, and the files mapped in, are left out.
settle_seconds=$((minutes >= 3 ? 60 : minutes * 20))
window_seconds=$((minutes >= 3 ? 60 : minutes * 15))

# Whether growth of the private resident memory fails the run.
judge_private=yes
failures=0
fail() { echo "soak: FAILED: $*"; failures=$((failures + 1)); }

work=$(mktemp -d /tmp/bv-soak-XXXXXX)
xvfb_pid= jack_pid= game_pid= server_pid=
finish() {
  if [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null; then
    sleep 3
    kill -9 "$game_pid" 2> /dev/null
  fi
  [ -n "$server_pid" ] && kill "$server_pid" 2> /dev/null
  [ "$system" = windows ] && wineserver -k 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  [ -n "$jack_pid" ] && kill "$jack_pid" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$work"
}
trap finish EXIT

# The files the game keeps, as the player would find them at the end: the
# settings (eight lines), the journey and every levels file under the
# game's folders (the editor's planes and what it exported).
check_files() {
  local settings=$1 journey=$2 folders=("${@:3}") file count=0
  if python3 -c 'import re, sys; sys.exit(not re.fullmatch(
      r"w \d+\nh \d+\na [01]\nf [01]\nns [01]\nnm [01]\naa [^\n]+\nr \d+\n",
      open(sys.argv[1], newline="").read().replace("\r\n", "\n")))' "$settings" 2> /dev/null; then
    echo "soak: the settings file is valid"
  else
    fail "the settings file $settings is missing or not eight valid lines"
  fi
  if python3 -c 'import re, sys; sys.exit(not re.fullmatch(
      r"PlayScaffold state 1\nplane \d+\nmusic ([0-9]|10)\nmuted [01]\n",
      open(sys.argv[1], newline="").read().replace("\r\n", "\n")))' "$journey" 2> /dev/null; then
    echo "soak: the journey file is valid: $(tr -d '\r' < "$journey" | tail -n 3 | paste -sd ' ')"
  else
    fail "the journey file $journey is missing or not valid"
  fi
  while IFS= read -r -d '' file; do
    count=$((count + 1))
    python3 -c 'import sys, xml.etree.ElementTree as T; sys.exit(T.parse(sys.argv[1]).getroot().tag != "BrickVoyager")' \
      "$file" 2> /dev/null || fail "the levels file $file is not a valid levels file"
  done < <(find "${folders[@]}" -name '*.xml' -print0 2> /dev/null)
  echo "soak: $count levels file(s) written by the game, each checked"
}

# Random input through xdotool for the rest of the run, into the window
# whose inside is the rectangle left top width height.
keys=() tour=() arrows=(Left Right Up Down)
while read -r weight key _; do
  [[ $weight =~ ^[0-9]+$ ]] || continue
  tour+=("$key")
  for _ in $(seq 1 "$weight"); do keys+=("$key"); done
done < "$keys_file"
presses=0 memory_line="" settled_kb=0 last_kb=0
private_kb() { awk '/^RssAnon:/ { print $2 }' "/proc/$1/status" 2> /dev/null || echo 0; }
# Keeps the least resident memory of the window after the settling and of
# the last window before deadline ($1), and one figure a minute.
sample_memory() {
  local now kb
  now=$(date +%s)
  kb=$(rss_kb)
  [ "${kb:-0}" -gt 0 ] || return
  if [ "$now" -ge "$settle_from" ] && [ "$now" -lt $((settle_from + window_seconds)) ]; then
    [ "$settled_kb" -eq 0 ] || [ "$kb" -lt "$settled_kb" ] && settled_kb=$kb
  fi
  if [ "$now" -ge $(($1 - window_seconds)) ]; then
    [ "$last_kb" -eq 0 ] || [ "$kb" -lt "$last_kb" ] && last_kb=$kb
  fi
  if [ "$now" -ge "$next_sample" ]; then
    memory_line+=" $((kb / 1024))"
    next_sample=$((next_sample + 60))
  fi
}

play_at_random() {
  local left=$1 top=$2 width=$3 height=$4 deadline=$5 key burst _
  while [ "$(date +%s)" -lt "$deadline" ] && alive; do
    case $((RANDOM % 6)) in
      0 | 1) # a key, now and then with a burst of its own
        key=${keys[RANDOM % ${#keys[@]}]}
        xdotool key --delay 30 "$key"
        presses=$((presses + 1)) ;;
      2) # an arrow held for up to a second and a half
        key=${arrows[RANDOM % 4]}
        xdotool keydown "$key"
        sleep "0.$((RANDOM % 9 + 1))$((RANDOM % 10))"
        [ $((RANDOM % 3)) -eq 0 ] && sleep 0.7
        xdotool keyup "$key"
        presses=$((presses + 1)) ;;
      3) # a burst of keys, as a joystick's hat or an impatient player gives
        burst=()
        for _ in $(seq 1 $((RANDOM % 12 + 3))); do burst+=("${keys[RANDOM % ${#keys[@]}]}"); done
        xdotool key --delay 20 "${burst[@]}"
        presses=$((presses + ${#burst[@]})) ;;
      4) # right and up together: the usual jump onwards
        xdotool keydown Right keydown Up
        sleep 0.4
        xdotool keyup Up keyup Right
        presses=$((presses + 2)) ;;
      5) # the mouse: a move, a click or a drag, always inside the window
        xdotool mousemove $((left + RANDOM % width)) $((top + RANDOM % height))
        case $((RANDOM % 3)) in
          0) xdotool click 1 ;;
          1) xdotool mousedown 1 mousemove_relative -- $((RANDOM % 81 - 40)) $((RANDOM % 81 - 40)) mouseup 1 ;;
        esac ;;
    esac
    sleep "0.0$((RANDOM % 10))"
    sample_memory "$deadline"
  done
}

# Escape until the game has ended: the editor, a list in it or a plane
# played from it each take one first. Sets end_status: the exit status, or
# "hang".
end_with_escape() {
  local _
  for _ in $(seq 1 8); do
    alive || break
    xdotool key Escape
    sleep 1.5
  done
  for _ in $(seq 1 100); do alive || break; sleep 0.1; done
  if alive; then
    end_status=hang
  else
    wait "$game_pid"
    end_status=$?
  fi
}

# The game's window on the virtual display: "left top width height".
window_inside() {
  local window
  window=$(xdotool search --name '^Brick Voyager$' 2> /dev/null | head -n 1)
  [ -n "$window" ] || return 1
  xdotool getwindowgeometry "$window" |
    sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p; s/^ *Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2/p' | paste -sd ' '
}

# Plays the started game (game_pid, log in $1) to the end and reports the
# crash, the memory and the error lines (those matching $2).
soak_played_game() {
  local log=$1 errors=$2 inside start_kb end_kb _
  for _ in $(seq 1 60); do
    inside=$(window_inside) && break
    alive || break
    sleep 1
  done
  if ! alive || [ -z "$inside" ]; then
    fail "CRASH: the game ended or showed no window during its start"
    tail -n 30 "$log"
    return
  fi
  echo "soak: the game runs (pid $game_pid) on display $DISPLAY for $minutes minute(s), window (x y w h) $inside"
  local began ends
  began=$(date +%s)
  ends=$((began + minutes * 60 - 15))
  played_until=$ends
  sleep 10
  start_kb=$(rss_kb)
  # shellcheck disable=SC2086
  set -- $inside
  local left=$(($1 + 8)) top=$(($2 + 8)) width=$(($3 - 16)) height=$(($4 - 16))
  xdotool mousemove $((left + width / 2)) $((top + height / 2))
  # Every key once, in the table's order, before the memory settles: what
  # each keeps for good (the editor, a route's search) is then made.
  for key in "${tour[@]}"; do
    xdotool key "$key"
    presses=$((presses + 1))
    sleep 0.4
  done
  settle_from=$((began + settle_seconds)) next_sample=$((began + 60))
  play_at_random "$left" "$top" "$width" "$height" "$ends"
  if alive; then
    end_kb=$(rss_kb)
    end_with_escape
    case $end_status in
      0) echo "soak: no crash; Escape ended the game with status 0" ;;
      hang) fail "HANG: the game did not end within 20 s of Escape" ;;
      *) fail "CRASH: the game ended with status $end_status" ;;
    esac
  else
    wait "$game_pid"
    fail "CRASH: the game ended by itself with status $? during play"
    end_kb=0
  fi
  game_pid=
  echo "soak: $presses key presses in $minutes minute(s)"
  echo "soak: private resident memory ${start_kb:-0} kB 10 s after the start; at least ${settled_kb} kB in the ${window_seconds} s" \
    "after ${settle_seconds} s, at least ${last_kb} kB in the last ${window_seconds} s; ${end_kb} kB at the end" \
    "(per minute, MB:${memory_line})"
  [ "$judge_private" = yes ] || echo "soak: (the private memory is reported, not judged: scripts/soak.sh --plain judges it)"
  [ "$judge_private" = yes ] && [ "$end_kb" -gt 0 ] && [ $((last_kb - settled_kb)) -gt "$allowed_growth_kb" ] &&
    fail "MEMORY: $((last_kb - settled_kb)) kB of growth after ${settle_seconds} s, above ${allowed_growth_kb} kB"
  local lines
  mkdir -p "$root/build" && cp "$log" "$root/build/soak-$system-game.log"
  echo "soak: the game's output is kept in build/soak-$system-game.log"
  lines=$(grep -cE "$errors" "$log")
  if [ "$lines" -eq 0 ]; then
    echo "soak: no error line in the game's output"
  else
    fail "$lines error line(s) in the game's output, the first:"
    grep -m 10 -E "$errors" "$log"
  fi
}

soak_linux() {
  local game=$root/build-asan/BrickVoyager check=$root/build/BrickVoyagerCaptureCheck home=$work/home
  local wrapper=() game_build=build-asan
  # Under the sanitizer the private memory holds its own too: the shadow of
  # the highest mark a proof's tables reached, which it never gives back,
  # and every allocation's recorded stack. --plain judges the game's.
  [ "$system" = linux ] && judge_private=no
  [ "$system" = linux ] || game=$root/build/BrickVoyager game_build=build
  [ "$system" = heap ] && wrapper=(heaptrack -o "$work/heap") judge_private=no
  local capture=$work/capture.raw
  # Only what is played is built, as the test command builds it.
  if [ ! -f build-asan/CMakeCache.txt ]; then
    mkdir -p build-asan
    cmake -S . -B build-asan -DBV_UNITY=ON -DBV_LINKER=lld -DBV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
      "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" -DBV_TOOLS=OFF \
      > build-asan/configure.log 2>&1 || { cat build-asan/configure.log; exit 1; }
  fi
  [ -f build/CMakeCache.txt ] || scripts/setup.sh build > /dev/null
  { nice cmake --build $game_build -j2 --target BrickVoyager BrickVoyagerMusicResource && nice cmake --build build -j2 --target BrickVoyagerCaptureCheck; } \
    > "$work/build.log" 2>&1 || { tail -n 30 "$work/build.log"; echo "soak: the build failed"; exit 1; }
  mkdir -p "$home"

  # A JACK server of its own paces the sound as a sound card would; without
  # one the callback would run as fast as the processor allows. Named, so
  # that no other server on the machine is used or disturbed.
  export JACK_DEFAULT_SERVER=bv-soak-$$
  jackd -n "$JACK_DEFAULT_SERVER" --no-realtime -d dummy -r 44100 -p 512 > "$work/jackd.log" 2>&1 &
  jack_pid=$!
  for _ in $(seq 1 50); do jack_lsp > /dev/null 2>&1 && break; sleep 0.2; done
  jack_lsp > /dev/null 2>&1 || { echo "soak: jackd did not start"; cat "$work/jackd.log"; exit 1; }
  # ALSA reads this file instead of the system's configuration: the default
  # device writes everything into the capture and plays it on the JACK
  # server. The jack device's module comes from Debian's libasound2-plugins,
  # unpacked into build/soak-alsa/ rather than installed: installed, its
  # system-wide devices would be opened by every PortAudio program.
  local plugin=/usr/lib/x86_64-linux-gnu/alsa-lib/libasound_module_pcm_jack.so
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
  start_virtual_display "$work" || exit 1

  # Under heaptrack the game is the wrapper's child.
  rss_kb() {
    local pid=$game_pid
    [ "$system" = heap ] && pid=$(pgrep -P "$game_pid" -x BrickVoyager)
    private_kb "$pid"
  }
  alive() { kill -0 "$game_pid" 2> /dev/null; }
  # A small quarantine, and freed pages handed back to the system every
  # second: the sanitizer's store of freed memory would otherwise fill for
  # minutes, and its allocator keep every page a proof's peak (tens of MB)
  # once touched, in size classes that later allocations of other sizes do
  # not reuse; either reads as growth of the resident set without a leak
  # (the live heap of a plain build under heaptrack stays flat over the
  # same play). What stays the sanitizer's is not judged (see above). No
  # leak check at the
  # end: the game unloads the GL driver and ALSA's plugins before it runs,
  # and it would blame their bookkeeping on nameless modules (the
  # end-to-end tests skip it for the same reason; ApplicationTest checks
  # the game's own code in-process). Growth during play shows in the
  # resident memory instead.
  ASAN_OPTIONS="detect_leaks=0:halt_on_error=1:quarantine_size_mb=4:allocator_release_to_os_interval_ms=1000" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp" \
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.local/state XDG_DATA_HOME=$home/.local/share \
    SDL_VIDEODRIVER=x11 \
    "${wrapper[@]}" "$game" --windowed --width 1024 --height 768 --audio-api ALSA > "$work/game.log" 2>&1 &
  game_pid=$!
  local launched
  launched=$(date +%s)
  case $system in
    linux) echo -n "soak: Linux, build-asan/BrickVoyager under AddressSanitizer" ;;
    plain) echo -n "soak: Linux, build/BrickVoyager, no sanitizer" ;;
    heap) echo -n "soak: Linux, build/BrickVoyager under heaptrack" ;;
  esac
  echo "; no gamepad (SDL gives a test none without code in the game's process)"
  soak_played_game "$work/game.log" 'Sanitizer|runtime error|Error'
  [ "$system" = heap ] && report_heap "$work/heap.zst" $((settle_from - launched)) $((played_until - launched))
  check_files "$home/.config/PlayScaffold/PlayScaffold.conf" "$home/.local/state/PlayScaffold/state" \
    "$home/.config/PlayScaffold" "$home/.local/state/PlayScaffold" "$home/.local/share/PlayScaffold"

  # The player changed the music's level: every quiet stretch in the
  # capture must be one the game announced.
  if [ -s "$capture" ]; then
    local report quiet announced
    report=$("$check" --level-changes "$root/resources/sounds/music.ogg" "$capture")
    local check_status=$?
    echo "$report"
    quiet=$(sed -n 's/.*, \([0-9]*\) of them through silence$/\1/p' <<< "$report")
    announced=$(grep -cE '^Music: (muted|0 of 10)$' "$work/game.log")
    echo "soak: the music fell quiet ${quiet:-?} time(s); the game announced $announced mute(s) or level 0"
    if [ "$check_status" -ne 0 ] || [ "${quiet:-999999}" -gt "$announced" ]; then
      fail "MUSIC: a gap, repeat, foreign sound or unannounced silence in the captured music"
      mv "$capture" "$root/build/soak-capture.raw"
      echo "soak: the capture is kept in build/soak-capture.raw"
    fi
  else
    fail "nothing was captured from the game's sound"
  fi
}

# The heap the game held, from heaptrack's record ($1): its least in the
# window after the settling (from $2 s after the start) and in the last
# window before play ended ($3 s after the start), which a proof's peak
# does not lift.
report_heap() {
  local figures settled last peak
  heaptrack_print -f "$1" --print-peaks 0 --print-allocators 0 --print-temporary 0 --print-leaks 0 \
    -M "$work/massif.out" > "$work/heap.txt" 2>&1 || { fail "heaptrack_print could not read $1"; return; }
  figures=$(awk -v from="$2" -v to="$3" -v span="$window_seconds" '
    /^time=/ { sub(/^time=/, ""); t = $0 + 0 }
    /^mem_heap_B=/ { sub(/^mem_heap_B=/, ""); kb = int($0 / 1024)
      if (t >= from && t < from + span && (s == "" || kb < s)) s = kb
      if (t >= to - span && t < to && (l == "" || kb < l)) l = kb
      if (kb > peak) peak = kb }
    END { print s + 0, l + 0, peak + 0 }' "$work/massif.out")
  read -r settled last peak <<< "$figures"
  echo "soak: the game's heap in use (heaptrack) at least $settled kB in the ${window_seconds} s after $2 s," \
    "at least $last kB in the last ${window_seconds} s; $peak kB at its peak (a proof running)"
  [ $((last - settled)) -gt "$allowed_growth_kb" ] &&
    fail "MEMORY: $((last - settled)) kB of growth of the heap in use after $2 s, above ${allowed_growth_kb} kB"
}

soak_windows() {
  local zip exe
  zip=$(ls build-windows/BrickVoyager-*-windows-x64.zip 2> /dev/null | head -n 1)
  [ -f "$zip" ] || { echo "soak: no zip in build-windows/ (run scripts/windows.sh)"; exit 1; }
  source scripts/windows/wine-session.sh
  start_wine_session "$work" || exit 1
  mkdir -p "$work/game"
  (cd "$work/game" && cmake -E tar xf "$root/$zip") || { echo "soak: could not unpack $zip"; exit 1; }
  exe=$(ls "$work"/game/*/BrickVoyager.exe)
  (cd "$(dirname "$exe")" && exec wine BrickVoyager.exe --windowed --width 1024 --height 768) > "$work/game.log" 2>&1 &
  game_pid=$!
  # The Windows process as Linux sees it: the one of this prefix running
  # the game's executable (wine's own launcher hands over to it).
  windows_pid() {
    local pid
    for pid in $(pgrep -u "$(id -u)" -f 'BrickVoyager\.exe'); do
      tr '\0' '\n' < "/proc/$pid/environ" 2> /dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
    done
  }
  rss_kb() { private_kb "$(windows_pid)"; }
  alive() { kill -0 "$game_pid" 2> /dev/null; }
  echo "soak: Windows under Wine, $(basename "$zip"); no gamepad (Wine gives a test none); sound to ALSA's null device"
  soak_played_game "$work/game.log" 'Error|Unhandled|exception'
  wineserver -w
  check_files "$roaming/PlayScaffold/PlayScaffold.conf" "$local_dir/PlayScaffold/state" \
    "$roaming/PlayScaffold" "$local_dir/PlayScaffold"
  stop_wine_session
}

soak_web() {
  [ -f build-web/index.html ] || { echo "soak: no page in build-web/ (run scripts/web.sh)"; exit 1; }
  local out=build-web-test port=${SOAK_PORT:-8615} files=$work/files puppeteer_version=24.9.0
  mkdir -p "$out"
  if [ "$(node -p "try { require('./$out/node_modules/puppeteer-core/package.json').version } catch (e) { '' }")" != "$puppeteer_version" ]; then
    npm install --prefix "$out" --no-audit --no-fund --silent "puppeteer-core@$puppeteer_version" > "$out/npm.log" 2>&1 ||
      { cat "$out/npm.log"; exit 1; }
  fi
  python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web > "$work/server.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2> /dev/null && break
    sleep 0.1
  done
  echo "soak: the page in headless Chromium, served on 127.0.0.1:$port; a stand-in gamepad; the music is not read"
  PUPPETEER_DIR="$root/$out" node tests/soak/page-soak.mjs "http://127.0.0.1:$port/" "$minutes" "$keys_file" "$files" \
    "$settle_seconds" "$allowed_growth_kb" "$window_seconds" || failures=$((failures + 1))
  local kept=$files/home/web_user
  check_files "$kept/.config/PlayScaffold/PlayScaffold.conf" "$kept/.local/state/PlayScaffold/state" "$kept"
}

source scripts/virtual-display.sh
case $system in
  plain | heap) soak_linux ;;
  *) "soak_$system" ;;
esac
if [ "$failures" -eq 0 ]; then
  echo "soak: passed"
else
  echo "soak: FAILED ($failures failure(s))"
  exit 1
fi
