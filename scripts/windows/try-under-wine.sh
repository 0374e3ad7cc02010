#!/usr/bin/env bash
# Usage: scripts/windows/try-under-wine.sh [BUILD_DIR]   (default build-windows)
# Tries what scripts/windows.sh made as a Windows player would, under Wine on
# a virtual display of its own, in a fresh Wine prefix (its sound goes to
# ALSA's null device):
#   the zip, unpacked into a folder whose name has spaces and letters beyond
#   ASCII: --help ends with 0; the first start writes the settings under
#   AppData\Roaming, shows the pale green ground, walks on a held right
#   arrow, ends on Escape with 0 and leaves the journey under AppData\Local;
#   the installer with /S: the files, the Start-menu entry and the uninstall
#   entry are there; the uninstaller with /S: they are gone, and the
#   settings and the journey stay.
# Each failure is one line; the exit status is the number of them (0: all
# well). Screenshots stay in the work folder it names.
set -uo pipefail
cd "$(dirname "$0")/../.."
build_dir=$(cd "${1:-build-windows}" && pwd)
source scripts/virtual-display.sh

failures=0
fail() { echo "try-under-wine: $*"; failures=$((failures + 1)); }
zip=$(ls "$build_dir"/BrickVoyager-*-windows-x64.zip 2>/dev/null | head -n 1)
setup=$(ls "$build_dir"/BrickVoyager-*-setup.exe 2>/dev/null | head -n 1)
[ -f "$zip" ] && [ -f "$setup" ] || { echo "try-under-wine: no zip or installer in $build_dir (run scripts/windows.sh)"; exit 1; }

work=$(mktemp -d)
echo "try-under-wine: working in $work"
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
cat > "$HOME/.asoundrc" <<'ASOUND'
pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }
ASOUND
start_virtual_display "$work" || exit 1
cleanup() {
  wineserver -k 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

started=$SECONDS
wineboot -i > "$work/wineboot.log" 2>&1 && wineserver -w || { cat "$work/wineboot.log"; exit 1; }
echo "try-under-wine: wineboot took $((SECONDS - started)) s"
user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/.. | grep -v /Public/ | head -n 1)
roaming=$user_dir/AppData/Roaming
local_dir=$user_dir/AppData/Local

# The middle of the window, (192, 255, 192) give or take, once the fade-in
# is over; the figure stands left of it, so it never hides it.
ground_shown() {
  local shot=$1 r g b
  read -r r g b < <(convert "$shot" -format '%[fx:int(255*p{w/2,h/2}.r)] %[fx:int(255*p{w/2,h/2}.g)] %[fx:int(255*p{w/2,h/2}.b)]' info:)
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

# Starts EXE with the given words, waits for its window and the ground,
# walks right, presses Escape; the screenshots are NAME-*.png.
play() {
  local exe=$1 name=$2 game window= tries shown= status
  shift 2
  (cd "$(dirname "$exe")" && exec wine "$(basename "$exe")" "$@") > "$work/$name.log" 2>&1 &
  game=$!
  for tries in $(seq 30); do
    sleep 1
    window=$(xdotool search --name '^Brick Voyager$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
  done
  if [ -z "$window" ]; then
    fail "$name: no window appeared"
    kill "$game" 2>/dev/null; wait "$game"; cat "$work/$name.log"; return
  fi
  for tries in $(seq 30); do
    sleep 1
    import -window "$window" "PNG24:$work/$name-ground.png" 2>/dev/null || continue
    ground_shown "$work/$name-ground.png" && { shown=1; break; }
  done
  [ -n "$shown" ] || fail "$name: the ground never showed ($work/$name-ground.png)"
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool keydown Right; sleep 2; xdotool keyup Right
  import -window "$window" "PNG24:$work/$name-walked.png"
  local before after
  before=$(figure_x "$work/$name-ground.png") after=$(figure_x "$work/$name-walked.png")
  [ "$after" -gt $((before + 20)) ] 2>/dev/null ||
    fail "$name: the figure did not walk right on a held right arrow (from x $before to $after)"
  xdotool key Escape
  for tries in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.5
  done
  kill -0 "$game" 2>/dev/null && { fail "$name: still running after Escape"; kill "$game"; }
  wait "$game"
  status=$?
  [ "$status" -eq 0 ] || { fail "$name: ended with $status"; cat "$work/$name.log"; }
}

folder="$work/Spiele für alle 日本"
mkdir -p "$folder"
(cd "$folder" && cmake -E tar xf "$zip") || fail "could not unpack $zip"
exe=$(ls "$folder"/*/BrickVoyager.exe)
help=$(cd "$(dirname "$exe")" && wine BrickVoyager.exe --help 2>&1)
status=$?
[ "$status" -eq 0 ] && grep -q '^Usage:' <<<"$help" || fail "--help ended with $status: $help"

play "$exe" zip
[ -f "$roaming/PlayScaffold/PlayScaffold.conf" ] || fail "no settings file under AppData\\Roaming"
[ -f "$local_dir/PlayScaffold/state" ] || fail "no journey file under AppData\\Local"

wine "$setup" /S && wineserver -w || fail "the installer ended with an error"
installed="$local_dir/Programs/Brick Voyager"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\BrickVoyager'
shortcut="$roaming/Microsoft/Windows/Start Menu/Programs/Brick Voyager.lnk"
for file in BrickVoyager.exe Uninstall.exe Contents/Resources/levels.xml Contents/Resources/sounds/music.ogg; do
  [ -f "$installed/$file" ] || fail "the installer did not install $file"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
wine reg query "$key" /v QuietUninstallString > /dev/null 2>&1 || fail "no uninstall entry"
play "$installed/BrickVoyager.exe" installed --windowed -w 800 -h 600

# The uninstaller copies itself away and returns at once; its copy removes
# the folder.
wine "$installed/Uninstall.exe" /S && wineserver -w
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | sed "s|$installed|.|" | paste -sd ' ')"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$key" > /dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
[ -f "$roaming/PlayScaffold/PlayScaffold.conf" ] && [ -f "$local_dir/PlayScaffold/state" ] ||
  fail "the uninstaller took the settings or the journey"

echo "try-under-wine: $failures failed"
exit "$failures"
