# shellcheck shell=bash
# Sourced by the scripts that run the Windows build under Wine: a fresh Wine
# prefix in a work folder, on a virtual display of its own, its sound sent to
# ALSA's null device as the Linux tests send theirs.
#   start_wine_session WORK_DIR   exports HOME, WINEPREFIX, WINEDEBUG,
#                                 WINEDLLOVERRIDES and DISPLAY; sets xvfb_pid,
#                                 roaming and local_dir (the prefix's user's
#                                 AppData\Roaming and AppData\Local); or
#                                 says why not and returns 1
#   stop_wine_session             ends the prefix's Wine processes and the display
source "$(dirname "${BASH_SOURCE[0]}")/../virtual-display.sh"

start_wine_session() {
  local work=$1 user_dir started=$SECONDS
  export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$HOME"
  cat > "$HOME/.asoundrc" <<'ASOUND'
pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }
ASOUND
  start_virtual_display "$work" || return 1
  wineboot -i > "$work/wineboot.log" 2>&1 && wineserver -w || { cat "$work/wineboot.log"; return 1; }
  # A program that crashes ends at once, instead of waiting for ever on a
  # debugger that nobody sees.
  wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
    > /dev/null 2>&1
  wineserver -w
  user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/.. | grep -v /Public/ | head -n 1)
  roaming=$user_dir/AppData/Roaming
  local_dir=$user_dir/AppData/Local
  echo "wine: a fresh prefix in $((SECONDS - started)) s"
}

stop_wine_session() {
  wineserver -k 2> /dev/null
  kill "$xvfb_pid" 2> /dev/null
  wait "$xvfb_pid" 2> /dev/null
}
