#!/usr/bin/env bash
# Usage: scripts/windows/try-under-wine.sh [tests|player] [BUILD_DIR]
# Tries what scripts/windows.sh made, under Wine, each part in a fresh Wine
# prefix on a virtual display of its own (scripts/windows/wine-session.sh):
#   tests   the test program, BrickVoyagerTests.exe, through CTest (built by
#           scripts/windows.sh --with-tests); the cases skipped here are
#           listed with their reasons
#   player  as a Windows player would: the zip unpacked into a folder whose
#           name has spaces and letters beyond ASCII: the first start writes
#           the settings under AppData\Roaming, shows the pale green ground,
#           walks on a held right arrow, ends on Escape with 0 and leaves the
#           journey under AppData\Local; E opens the editor, N adds a block
#           and the plane is kept under AppData\Roaming; --help ends with
#           0; the installer with /S: the files, the Start-menu entry and
#           the uninstall entry are there, and the installed game switches
#           to full screen and back on F11 and stands still while paused
#           (P); the uninstaller with /S: they are gone, the settings and
#           the journey stay
# Without a part named, both. Each failure is one line; the exit status is
# the number of them (0: all well). The screenshots stay in
# BUILD_DIR/artefacts/ (default build-windows).
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
parts=(tests player)
case ${1:-} in tests | player) parts=("$1"); shift ;; esac
build_dir=$(cd "${1:-build-windows}" && pwd)
source scripts/windows/wine-session.sh
trap stop_wine_session EXIT

failures=0
fail() { echo "try-under-wine: $*"; failures=$((failures + 1)); }
artefacts=$build_dir/artefacts
mkdir -p "$artefacts"

# The test program through CTest, two at a time as the machine has cores;
# CTest starts each under Wine (the toolchain file names it the emulator).
run_tests() {
  [ -f "$build_dir/BrickVoyagerTests.exe" ] || { fail "no BrickVoyagerTests.exe in $build_dir"; return; }
  local log=$work/ctest.log line
  ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" > "$log" 2>&1
  local status=$?
  line=$(grep -E '[0-9]+% tests passed' "$log" | tail -n 1)
  if [ "$status" -ne 0 ] || [ -z "$line" ]; then
    cat "$log"
    fail "the test program failed under Wine: ${line:-no summary}"
    return
  fi
  echo "try-under-wine: $line"
  echo "try-under-wine: skipped under Wine, with their reasons:"
  grep -B1 -A1 ': Skipped$' "$build_dir/Testing/Temporary/LastTest.log" | grep -vE '^--$|: Skipped$' |
    paste -d ' ' - - | sed 's/^\[ RUN      \] /  /'
}

# The middle of the shot, (192, 255, 192) give or take, once the fade-in is
# over; the figure stands left of it, so it never hides it.
ground_shown() {
  local r g b
  read -r r g b < <(convert "$1" -format '%[fx:int(255*p{w/2,h/2}.r)] %[fx:int(255*p{w/2,h/2}.g)] %[fx:int(255*p{w/2,h/2}.b)]' info:)
  [ $((r - 192)) -le 8 ] && [ $((192 - r)) -le 8 ] && [ "$g" -ge 247 ] &&
    [ $((b - 192)) -le 8 ] && [ $((192 - b)) -le 8 ]
}

# Where the figure stands across the window: the left edge of the dark pixels
# in the band of the window the first screen has it in (below the title,
# above the bars a letterboxed picture has).
figure_x() {
  local width height
  read -r width height < <(identify -format '%w %h' "$1")
  convert "$1" -crop "${width}x$((height / 4))+0+$((height * 45 / 100))" +repage -colorspace Gray \
    -threshold 25% -negate -format '%@' info: | sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+.*/\1/'
}

# How many pixels two shots differ in.
differing() {
  compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

game_window() {
  xdotool search --name '^Brick Voyager$' 2> /dev/null | head -n 1
}

shot() {
  import -window "$(game_window)" "PNG24:$artefacts/windows-$1.png" 2> /dev/null
}

# Runs the command given until it succeeds, twice a second for at most 15 s
# (a busy machine may take that long); its status.
within_15_s() {
  local _
  for _ in $(seq 30); do
    "$@" && return 0
    sleep 0.5
  done
  "$@"
}

window_size() {
  xdotool getwindowgeometry "$(game_window)" | sed -n 's/^ *Geometry: \([0-9]*\)x\([0-9]*\)/\1 x \2/p'
}

# F11 there and back: the window takes the display's size and gives it back,
# and the game says so.
switch_full_screen() {
  local name=$1 log=$2 width height expect
  for expect in "on (1280 x 1024)" "off (800 x 600)"; do
    xdotool key F11
    within_15_s grep -qF "Full screen: $expect" "$log" || fail "$name: F11 did not switch full screen $expect"
    within_15_s eval '[ "$(window_size)" = "$(sed "s/.*(\(.*\))/\1/" <<< "$expect")" ]'
    read -r width _ height < <(window_size)
    [ "$expect" != "on (1280 x 1024)" ] || { shot "$name-full-screen"; [ "$width x $height" = "1280 x 1024" ]; } ||
      fail "$name: in full screen the window is $width x $height"
    [ "$expect" != "off (800 x 600)" ] || [ "$width x $height" = "800 x 600" ] ||
      fail "$name: back from full screen the window is $width x $height"
  done
  shot "$name-windowed-again"
}

# Two shots of the game 0.6 s apart, NAME-1 and NAME-2; whether they differ.
picture_moves() {
  shot "$1-1"; sleep 0.6; shot "$1-2"
  [ "$(differing "$artefacts/windows-$1-1.png" "$artefacts/windows-$1-2.png")" != 0 ]
}

# The blocks breathe: a running game's picture changes within half a second,
# a paused one's does not, until P resumes it. Each is waited for (a busy
# machine may take a while to draw or to take the key), but a paused
# picture, once still, must stay so for a second.
pause_and_resume() {
  local name=$1
  within_15_s picture_moves "$name-running" || fail "$name: the picture stood still before the pause"
  xdotool key p
  within_15_s eval '! picture_moves "$name-pausing"'
  sleep 1
  shot "$name-paused-1"; sleep 1; shot "$name-paused-2"
  [ "$(differing "$artefacts/windows-$name-paused-1.png" "$artefacts/windows-$name-paused-2.png")" = 0 ] ||
    fail "$name: the picture moved while paused"
  xdotool key p
  within_15_s picture_moves "$name-resumed" || fail "$name: the picture stood still after P resumed"
}

# start_game NAME EXE [WORD...]: starts EXE with the words and sets game
# (the process) and window. A start that gets no window is tried once more,
# as the Linux end-to-end tests do; when none comes it fails, shows what the
# game printed and returns 1.
start_game() {
  local name=$1 exe=$2 log=$work/$1.log _
  shift 2
  window=''
  for _ in 1 2; do
    (cd "$(dirname "$exe")" && exec wine "$(basename "$exe")" "$@") > "$log" 2>&1 &
    game=$!
    for _ in $(seq 30); do
      sleep 1
      window=$(game_window)
      [ -n "$window" ] && return 0
      kill -0 "$game" 2> /dev/null || break
    done
    kill "$game" 2> /dev/null; wait "$game"
    echo "try-under-wine: $name got no window, trying once more"
  done
  fail "$name: no window appeared"
  cat "$log"
  return 1
}

# end_game NAME: Escape must end the game started by start_game, with 0.
end_game() {
  local name=$1 status _
  xdotool key Escape
  for _ in $(seq 20); do
    kill -0 "$game" 2> /dev/null || break
    sleep 0.5
  done
  kill -0 "$game" 2> /dev/null && { fail "$name: still running after Escape"; kill "$game"; }
  wait "$game"
  status=$?
  [ "$status" -eq 0 ] || { fail "$name: ended with $status"; cat "$work/$name.log"; }
}

# Starts EXE with the given words, waits for its window and the ground,
# walks right (and, with --comforts first, tries F11 and P), then presses
# Escape; the screenshots are windows-NAME-*.png.
play() {
  local comforts=
  [ "$1" = --comforts ] && { comforts=1; shift; }
  local exe=$1 name=$2 game window shown='' _ log=$work/$2.log
  shift 2
  start_game "$name" "$exe" "$@" || return
  for _ in $(seq 30); do
    sleep 1
    shot "$name-ground" || continue
    ground_shown "$artefacts/windows-$name-ground.png" && { shown=1; break; }
  done
  [ -n "$shown" ] || fail "$name: the ground never showed ($artefacts/windows-$name-ground.png)"
  xdotool windowfocus --sync "$window" 2> /dev/null
  # Held until the figure has walked (a busy machine plays fewer frames).
  local before after
  before=$(figure_x "$artefacts/windows-$name-ground.png")
  xdotool keydown Right
  walked() { shot "$name-walked" && after=$(figure_x "$artefacts/windows-$name-walked.png") && [ "$after" -gt $((before + 20)) ] 2> /dev/null; }
  within_15_s walked
  xdotool keyup Right
  [ "$after" -gt $((before + 20)) ] 2> /dev/null ||
    fail "$name: the figure did not walk right on a held right arrow (from x $before to $after)"
  if [ -n "$comforts" ]; then
    switch_full_screen "$name" "$log"
    pause_and_resume "$name"
  fi
  end_game "$name"
}

# The editor as a player first meets it: E opens it on the plane in play, N
# adds a block at the pointer, E goes back to the game and Escape ends it;
# the plane, a block more than the shipped one, is then kept in
# AppData\Roaming\PlayScaffold\planes.xml. The screenshot is windows-editor.png.
try_editor() {
  local exe=$1 game window planes=$roaming/PlayScaffold/planes.xml shipped blocks
  start_game editor "$exe" || return
  sleep 3
  xdotool windowfocus --sync "$window" 2> /dev/null
  xdotool key e; sleep 1
  xdotool key n; sleep 1
  shot editor
  xdotool key e; sleep 1
  end_game editor
  shipped=$(awk '/<Plane/ { n++ } n == 1 && /<Block/ { c++ } END { print c + 0 }' \
    "$(dirname "$exe")/Contents/Resources/levels.xml")
  blocks=$(grep -c '<Block' "$planes" 2> /dev/null)
  [ "$blocks" = $((shipped + 1)) ] ||
    fail "editor: AppData\\Roaming\\PlayScaffold\\planes.xml holds ${blocks:-no} blocks, not $((shipped + 1))"
}

try_player() {
  local zip setup
  zip=$(ls "$build_dir"/BrickVoyager-*-windows-x64.zip 2> /dev/null | head -n 1)
  setup=$(ls "$build_dir"/BrickVoyager-*-setup.exe 2> /dev/null | head -n 1)
  [ -f "$zip" ] && [ -f "$setup" ] || { fail "no zip or installer in $build_dir (run scripts/windows.sh)"; return; }

  local folder="$work/Spiele für alle 日本" exe help status
  mkdir -p "$folder"
  (cd "$folder" && cmake -E tar xf "$zip") || fail "could not unpack $zip"
  exe=$(ls "$folder"/*/BrickVoyager.exe)
  [ ! -e "$roaming/PlayScaffold" ] || fail "settings stood there before the first start"
  play "$exe" zip
  [ -f "$roaming/PlayScaffold/PlayScaffold.conf" ] || fail "no settings file under AppData\\Roaming"
  [ -f "$local_dir/PlayScaffold/state" ] || fail "no journey file under AppData\\Local"
  try_editor "$exe"
  help=$(cd "$(dirname "$exe")" && wine BrickVoyager.exe --help 2>&1)
  status=$?
  [ "$status" -eq 0 ] && grep -q '^Usage:' <<< "$help" || fail "--help ended with $status: $help"

  wine "$setup" /S && wineserver -w || fail "the installer ended with an error"
  local installed="$local_dir/Programs/Brick Voyager"
  local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrickVoyager'
  local shortcut="$roaming/Microsoft/Windows/Start Menu/Programs/Brick Voyager.lnk" file
  for file in BrickVoyager.exe Uninstall.exe Contents/Resources/levels.xml Contents/Resources/sounds/music.ogg; do
    [ -f "$installed/$file" ] || fail "the installer did not install $file"
  done
  [ -f "$shortcut" ] || fail "no Start-menu entry"
  wine reg query "$key" /v QuietUninstallString > /dev/null 2>&1 || fail "no uninstall entry"
  play --comforts "$installed/BrickVoyager.exe" installed --windowed -w 800 -h 600

  # The uninstaller copies itself away and returns at once; its copy removes
  # the folder.
  wine "$installed/Uninstall.exe" /S && wineserver -w
  [ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | sed "s|$installed|.|" | paste -sd ' ')"
  [ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
  ! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
  [ -f "$roaming/PlayScaffold/PlayScaffold.conf" ] && [ -f "$local_dir/PlayScaffold/state" ] ||
    fail "the uninstaller took the settings or the journey"
}

for part in "${parts[@]}"; do
  work=$(mktemp -d)
  echo "try-under-wine: $part, working in $work"
  if start_wine_session "$work"; then
    case $part in
      tests) run_tests ;;
      player) try_player ;;
    esac
  else
    fail "$part: no Wine prefix on a virtual display"
  fi
  stop_wine_session
  rm -rf "$work"
done
echo "try-under-wine: $failures failed"
exit "$failures"
