# Sound that must be heard at the pace of a real device: a JACK server with
# its dummy driver, which runs in real time without a sound card, for the
# device test that records what PortAudio plays through it. And the music's
# real-time tests (the stream, and the player's level handed to it) once more
# under ThreadSanitizer.

jack_pid=

start_jack() {
  if jack_lsp > /dev/null 2>&1; then
    echo "jack: using the JACK server that is already running"
    return 0
  fi
  mkdir -p build
  jackd --no-realtime -d dummy -r 44100 -p 1024 > build/jackd.log 2>&1 &
  jack_pid=$!
  local tries
  for tries in $(seq 1 50); do
    if jack_lsp > /dev/null 2>&1; then
      echo "jack: dummy server running (pid $jack_pid)"
      return 0
    fi
    kill -0 "$jack_pid" 2> /dev/null || break
    sleep 0.2
  done
  echo "jack: the server did not start; build/jackd.log says:"
  cat build/jackd.log
  stop_jack
  return 1
}

stop_jack() {
  if [ -n "$jack_pid" ]; then
    kill "$jack_pid" 2> /dev/null
    wait "$jack_pid" 2> /dev/null
    jack_pid=
  fi
}

# Only the three test programs, each its source alone, and what they link; of
# the music's, the real-time suite; the editor's proof runner, whose search
# runs on a thread of its own.
tsan_build() {
  mkdir -p build-tsan
  cmake -S . -B build-tsan -DBV_TSAN=ON "${fast_build[@]}" \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" > build-tsan/configure.log 2>&1 || {
    cat build-tsan/configure.log; return 1; }
  cmake --build build-tsan -j"$(nproc)" --target BackgroundMusicTest MusicLevelTest ProofRunnerTest
}

tsan_music() {
  await_build tsan_build || return 1
  TSAN_OPTIONS="halt_on_error=1:exitcode=66" build-tsan/BackgroundMusicTest --gtest_filter='BackgroundMusicRealTimeTest.*' &&
    TSAN_OPTIONS="halt_on_error=1:exitcode=66" build-tsan/MusicLevelTest &&
    TSAN_OPTIONS="halt_on_error=1:exitcode=66" build-tsan/ProofRunnerTest
}

tsan_stage() {
  record_stage "thread sanitizer: real-time music, proof runner" tsan_music
}

service_starts+=(start_jack)
service_stops+=(stop_jack)
plain_stages+=(tsan_stage)
# Its build is the first a plain stage needs.
background_builds=(tsan_build "${background_builds[@]}")
