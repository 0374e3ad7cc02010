# Sourced by the test command and the coverage script. Tests never touch the
# real user's files: use_test_home DIR makes DIR a home of their own, in which
# ALSA's default device is a sink that needs no sound card, and moves there.
use_test_home() {
  rm -rf "$1"
  mkdir -p "$1"
  cat > "$1/.asoundrc" <<'ASOUND'
pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }
ASOUND
  export HOME=$1
  unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME
}
