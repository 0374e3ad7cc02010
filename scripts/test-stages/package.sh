# The Debian package as a player gets it: made by scripts/package.sh, checked
# by lintian, installed with apt-get (which fetches what it depends on), its
# desktop entry and metainfo validated where they landed, started as the menu
# starts it on a virtual display, then removed with apt-get without a file
# left behind.
# It installs into the system, so it runs only as root (as CI does).
#
# lintian must report no error and no warning. What it still says at the
# informational level (lintian -I) is left on purpose:
#   binary-has-unneeded-section .comment  the compiler's version note; the
#                                         strip CPack runs keeps it, and it
#                                         costs a few dozen bytes.

package_deb=
package_log=

package_build() {
  package_deb=$(bash scripts/package.sh 2>&1 | tee "$package_log" | tail -n 1)
  [ -f "$package_deb" ] || { cat "$package_log"; return 1; }
}

# Inside the virtual display (the game opens its display before it reads
# its command line, even for --help): asks the installed command for its help
# from /, then starts it as the menu would, waits for the pale green ground in
# the middle of its window after the fade-in and ends it with Escape. Exit
# status 3 means the game got no window, which is worth one more try.
package_play() {
  local shot=$HOME/ground.png game help pixel tries window
  cd /
  help=$(brickvoyager --help) || { echo "package: --help failed: $help"; return 1; }
  grep -q '^Usage:$' <<<"$help" || { echo "package: --help said: $help"; return 1; }

  brickvoyager --windowed -w 800 -h 600 --nosound > "$HOME/game.log" 2>&1 &
  game=$!
  window=
  for tries in $(seq 20); do
    sleep 1
    window=$(xdotool search --name '^Brick Voyager$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$game" 2>/dev/null || break
  done
  if [ -z "$window" ]; then
    kill "$game" 2>/dev/null
    wait "$game"
    cat "$HOME/game.log"
    return 3
  fi
  pixel=
  for tries in $(seq 40); do
    sleep 1
    import -window "$window" "PNG24:$shot" 2>/dev/null || continue
    # (192, 255, 192) give or take, at the middle of the window's width.
    pixel=$(convert "$shot" -format '%[fx:int(255*p{400,240}.r)] %[fx:int(255*p{400,240}.g)] %[fx:int(255*p{400,240}.b)]' info:)
    read -r r g b <<<"$pixel"
    [ $((r - 192)) -le 8 ] && [ $((192 - r)) -le 8 ] && [ "$g" -ge 247 ] &&
      [ $((b - 192)) -le 8 ] && [ $((192 - b)) -le 8 ] && break
    pixel=
  done
  xdotool mousemove --window "$window" 20 20
  xdotool windowfocus --sync "$window"
  xdotool key Escape
  local status=0
  for tries in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$game" 2>/dev/null; then
    echo "package: the installed game did not end on Escape"
    kill "$game"
    status=1
  fi
  wait "$game" || status=1
  if [ -z "$pixel" ]; then
    cp "$shot" "$PACKAGE_SHOT" 2>/dev/null
    echo "package: the installed game never showed its ground (last screenshot: $PACKAGE_SHOT)"
    status=1
  fi
  [ "$status" -eq 0 ] || cat "$HOME/game.log"
  return "$status"
}

package_run() {
  local work status=0 played path started=$SECONDS
  work=$(mktemp -d)
  package_log=$work/package.log
  package_build || { rm -rf "$work"; return 1; }
  echo "package: $package_deb, $(du -k "$package_deb" | cut -f1) KiB, built in $((SECONDS - started)) s"
  dpkg-deb -f "$package_deb" Depends Recommends
  lintian --fail-on error,warning "$package_deb" || status=1

  local -x DEBIAN_FRONTEND=noninteractive
  apt-get purge -y -qq -o DPkg::Lock::Timeout=300 brickvoyager > /dev/null 2>&1
  apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$(realpath "$package_deb")" > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; rm -rf "$work"; return 1; }

  desktop-file-validate /usr/share/applications/org.brickvoyager.BrickVoyager.desktop || status=1
  appstreamcli validate --no-net /usr/share/metainfo/org.brickvoyager.BrickVoyager.metainfo.xml || status=1

  mkdir -p "$work/home"
  cat > "$work/home/.asoundrc" <<'ASOUND'
pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }
ASOUND
  # The command is where Debian puts games, on the PATH of every session.
  for played in 1 2; do
    env -u XDG_CONFIG_HOME HOME="$work/home" SDL_VIDEODRIVER=x11 PACKAGE_SHOT="$(pwd)/build-package/ground.png" PATH="/usr/games:$PATH" \
      xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$(declare -f package_play); package_play"
    played=$?
    [ "$played" -eq 3 ] || break
    echo "package: the installed game got no window, trying once more"
  done
  [ "$played" -eq 0 ] || status=1

  # The README tells players to apt remove it, and that must leave nothing
  # for purge to do: dpkg forgets a package without configuration files.
  apt-get remove -y -qq -o DPkg::Lock::Timeout=300 brickvoyager > /dev/null || status=1
  if dpkg-query -W brickvoyager > /dev/null 2>&1; then
    echo "package: apt-get remove left it $(dpkg-query -W -f='${db:Status-Status}' brickvoyager)"
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 brickvoyager > /dev/null
    status=1
  fi
  # Every file and link of the package is gone, and every folder of its own.
  while read -r path; do
    path=${path#.}
    case $path in
      */) [[ $path == *brickvoyager* ]] && [ -d "$path" ] && { echo "package: left behind: $path"; status=1; } ;;
      *) { [ -e "$path" ] || [ -L "$path" ]; } && { echo "package: left behind: $path"; status=1; } ;;
    esac
  done < <(dpkg-deb --fsys-tarfile "$package_deb" | tar -t)
  rm -rf "$work"
  echo "package: the stage took $((SECONDS - started)) s"
  return "$status"
}

package_stage() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "== package: skipped (installing the package needs root)"
    return
  fi
  record_stage "Debian package: lintian, install, start, remove" package_run
}

plain_stages+=(package_stage)
