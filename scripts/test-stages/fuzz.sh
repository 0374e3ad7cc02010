# Fuzzing of every file the game reads from outside, after the sanitized
# suite: the targets are built in build-fuzz/, every kept failure is replayed
# and each target but the font files' is fuzzed for 30 seconds (scripts/fuzz.sh).

fuzz_seconds=30

fuzz_stage() {
  local failed_before=$failed_total target
  record_stage "fuzz: building the targets" scripts/fuzz.sh build
  [ "$failed_total" -eq "$failed_before" ] || return 0
  for target in LevelLoaderFuzz ConfigLoaderFuzz ImageLoaderFuzz BackgroundMusicFuzz StateFileFuzz; do
    record_stage "fuzz: $target, kept failures and ${fuzz_seconds} s" \
      scripts/fuzz.sh "$fuzz_seconds" "$target"
  done
  # Font files are fuzzed on a window, by hand; their kept failures still
  # come back here.
  record_stage "fuzz: FontFileFuzz, kept failures" scripts/fuzz.sh replay FontFileFuzz
}

sanitized_stages+=(fuzz_stage)
