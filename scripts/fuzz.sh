#!/usr/bin/env bash
# Fuzzes every file the game reads from outside with libFuzzer (clang,
# AddressSanitizer and UndefinedBehaviorSanitizer), in build-fuzz/.
#   scripts/fuzz.sh SECONDS [TARGET...]   replay the kept failures, then fuzz
#                                         each target (default: all) SECONDS
#   scripts/fuzz.sh build                 only build the targets
#   scripts/fuzz.sh replay [TARGET...]    only replay the kept failures
# Seeds come from tests/fuzz/corpus/<target>/; what a run adds stays in
# build-fuzz/corpus/<target>/. A crash, hang or sanitizer report leaves its
# input in build-fuzz/artifacts/<target>/ and fails the run: fix the code, then
# keep the input in tests/fuzz/regressions/<target>/ so it is replayed for ever.
# With BV_FUZZ_BUILT=1 the targets are taken as built (the test command builds
# them once and then fuzzes several at a time).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-fuzz
all_targets=(LevelLoaderFuzz ConfigLoaderFuzz ImageLoaderFuzz BackgroundMusicFuzz StateFileFuzz FontFileFuzz
  ShareCodeFuzz)

# Libraries of the system that leak on purpose (see the file's comments).
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp"
# Image decoding goes through SDL, which must never look for a display here.
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

build_targets() {
  mkdir -p "$build"
  if [ ! -f "$build/CMakeCache.txt" ]; then
    # Line tables are all a report needs; the game's libraries compiled a
    # few sources to a unit and lld make the build a fraction of the work.
    CC=clang CXX=clang++ cmake -S . -B "$build" -DBV_FUZZ=ON -DBV_TESTS=OFF \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
      -DBV_UNITY=ON -DBV_LINKER=lld > "$build/configure.log" 2>&1 || {
      cat "$build/configure.log"; return 1; }
  fi
  cmake --build "$build" -j2 --target "${all_targets[@]}"
}

# How a target is started: font files are drawn on a window, so that target
# gets a virtual display of its own, and no leak check (the GL driver keeps
# what it keeps until the process ends).
launch() {
  if [ "$1" = FontFileFuzz ]; then
    shift
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" SDL_VIDEODRIVER=x11 \
      xvfb-run -a -s "-screen 0 1280x1024x24" "$build/FontFileFuzz" "$@"
  else
    local target=$1
    shift
    "$build/$target" "$@"
  fi
}

# Replays every kept input of one target; each must now pass.
replay() {
  local target=$1 dir=$root/tests/fuzz/regressions/$1
  local inputs=()
  [ -d "$dir" ] && mapfile -t inputs < <(find "$dir" -type f ! -name '*.md' | sort)
  if [ ${#inputs[@]} -eq 0 ]; then
    echo "fuzz: $target: no kept failures to replay"
    return 0
  fi
  echo "fuzz: $target: replaying ${#inputs[@]} kept failure(s)"
  launch "$target" -timeout=10 -rss_limit_mb=2048 "${inputs[@]}" > "$build/$target-replay.log" 2>&1 || {
    tail -n 40 "$build/$target-replay.log"
    echo "fuzz: $target: a kept failure fails again (log: $build/$target-replay.log)"
    return 1
  }
}

# Fuzzes one target for the given seconds, starting from its seeds and from
# whatever earlier runs found.
run() {
  local target=$1 seconds=$2
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  # Inputs reach a little past the bound on the file's size, so that both
  # sides of it are tried (src/LevelLoader.h, src/ConfigLoader.cpp,
  # src/audio/BackgroundMusic.cpp).
  local limit=()
  case $target in
    LevelLoaderFuzz) limit=(-max_len=$((2 * 1024 * 1024 + 1024))) ;;
    ConfigLoaderFuzz) limit=(-max_len=$((4096 + 1024))) ;;
    BackgroundMusicFuzz) limit=(-max_len=$((64 * 1024 * 1024 + 1024))) ;;
    # Seeded from the system's own fonts, read but never written to.
    FontFileFuzz) limit=(-max_len=$((32 * 1024 * 1024 + 1024)) /usr/share/fonts/truetype/dejavu) ;;
  esac
  echo "fuzz: $target: ${seconds} s"
  mkdir -p "$root/tests/fuzz/corpus/$target"
  launch "$target" "$corpus" "$root/tests/fuzz/corpus/$target" "${limit[@]}" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" > "$build/$target.log" 2>&1
  local status=$?
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|cov: ' \
    "$build/$target.log" | tail -n 4
  if [ $status -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$build/$target.log" | head -n 20
    echo "fuzz: $target: FAILED (log: $build/$target.log)"
    return 1
  fi
  echo "fuzz: $target: nothing found"
}

command=${1:-}
case $command in
  build)
    build_targets
    ;;
  replay)
    shift
    targets=("$@")
    [ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
    build_targets > "$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
    status=0
    for target in "${targets[@]}"; do replay "$target" || status=1; done
    exit $status
    ;;
  '' | *[!0-9]*)
    echo "usage: scripts/fuzz.sh SECONDS [TARGET...] | build | replay [TARGET...]"
    exit 2
    ;;
  *)
    shift
    targets=("$@")
    [ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
    mkdir -p "$build"
    if [ -z "${BV_FUZZ_BUILT:-}" ]; then
      build_targets > "$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
    fi
    status=0
    for target in "${targets[@]}"; do
      replay "$target" || status=1
      run "$target" "$command" || status=1
    done
    exit $status
    ;;
esac
