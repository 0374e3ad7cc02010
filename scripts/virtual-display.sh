# Sourced by the scripts that play the real game: a virtual display of its
# own (so that keys sent with xdotool reach the game and nothing else) and a
# home folder in which nothing of the real user's is touched.
#   start_virtual_display WORK_DIR   sets DISPLAY and xvfb_pid, or returns 1

start_virtual_display() {
  local work=$1 display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local _
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && { export DISPLAY=:$display; return 0; }
    sleep 0.1
  done
  echo "could not start a virtual display:"
  cat "$work/xvfb.log"
  return 1
}
