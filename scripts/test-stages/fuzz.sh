# Fuzzing of every file the game reads from outside, after the sanitized
# suite: the targets are built in build-fuzz/ in the background, every kept
# failure is replayed and each target but the font files' is fuzzed for a few
# seconds (scripts/fuzz.sh), as many at once as there are cores. A longer run
# is scripts/fuzz.sh by hand.

fuzz_seconds=6

fuzz_build() {
  scripts/fuzz.sh build
}

# fuzz_result PID LOG: the outcome of one target's run started in the
# background, with what it printed.
fuzz_result() {
  wait "$1"
  local status=$?
  cat "$2"
  return "$status"
}

fuzz_stage() {
  local failed_before=$failed_total target i pids=() logs=()
  local targets=(LevelLoaderFuzz ConfigLoaderFuzz ImageLoaderFuzz BackgroundMusicFuzz StateFileFuzz
    ShareCodeFuzz)
  local at_once
  at_once=$(nproc)
  record_stage "fuzz: building the targets" await_build fuzz_build
  [ "$failed_total" -eq "$failed_before" ] || return 0
  for ((i = 0; i < ${#targets[@]}; i++)); do
    logs[i]=build-fuzz/${targets[i]}-stage.log
  done
  for ((i = 0; i < ${#targets[@]}; i++)); do
    BV_FUZZ_BUILT=1 scripts/fuzz.sh "$fuzz_seconds" "${targets[i]}" > "${logs[i]}" 2>&1 &
    pids[i]=$!
    # Reported in order, each once a full round of runs has been started.
    if (((i + 1) % at_once == 0)) || ((i + 1 == ${#targets[@]})); then
      local j
      for ((j = i - (i % at_once); j <= i; j++)); do
        record_stage "fuzz: ${targets[j]}, kept failures and ${fuzz_seconds} s" \
          fuzz_result "${pids[j]}" "${logs[j]}"
      done
    fi
  done
  # Font files are fuzzed on a window, by hand; their kept failures still
  # come back here.
  record_stage "fuzz: FontFileFuzz, kept failures" scripts/fuzz.sh replay FontFileFuzz
}

background_builds+=(fuzz_build)
sanitized_stages+=(fuzz_stage)
