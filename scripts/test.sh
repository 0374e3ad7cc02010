#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: as built, and
# built again with AddressSanitizer and UndefinedBehaviorSanitizer. Ends with
# one summary line over all runs and exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# cpu_now: sets cpu_total to the CPU seconds (user and system) of every
# finished child of this shell so far; the difference over a stage is what
# the stage cost, whatever else the machine was doing. (times must run in
# this shell itself, never in $(...): a child starts with no children.)
cpu_now() {
  mkdir -p "$root/build"
  local file=$root/build/times.$BASHPID
  times > "$file"
  cpu_total=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%.0f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
    "$file")
}

# Every build here is for testing: the game's libraries and the tests are
# compiled a few sources to a unit and linked by lld, and carry line tables
# only (all a sanitizer's report or a backtrace needs), which makes each build
# a fraction of the work.
fast_build=(-DBV_UNITY=ON -DBV_LINKER=lld)
started_at=$SECONDS
scripts/setup.sh --with-tests build "${fast_build[@]}" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" || exit 1
cpu_now
echo "== plain: built in $((SECONDS - started_at)) s, $cpu_total CPU s"

. scripts/test-home.sh
use_test_home "$root/build/test-home"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp"

# Each file in scripts/test-stages/ may add functions to these lists: services
# to start before the tests and stop after them, and extra stages that run
# after the plain or the sanitized suite and count as one test each.
service_starts=()
service_stops=()
plain_stages=()
sanitized_stages=()
# Builds that stages need later, made one after the other in the background
# while the plain suite runs (its tests mostly wait on real-time pacing),
# at the lowest priority so that they take only the time the tests leave
# idle. A stage gets its build's result and output from await_build NAME.
background_builds=(sanitized_build)
for stage in scripts/test-stages/*.sh; do
  [ -e "$stage" ] && . "$stage"
done

passed_total=0
failed_total=0
summaries=()
status=0

sanitized_build() {
  scripts/setup.sh --with-tests build-asan "${fast_build[@]}" -DBV_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" -DBV_TOOLS=OFF
}

background_dir=$root/build/background
background_pid=
start_background_builds() {
  rm -rf "$background_dir"
  mkdir -p "$background_dir"
  (
    renice -n 19 -p "$BASHPID" > /dev/null
    for build in "${background_builds[@]}"; do
      cpu_now
      local_start=$SECONDS local_cpu=$cpu_total
      "$build" > "$background_dir/$build.log" 2>&1
      echo $? > "$background_dir/$build.status.part"
      cpu_now
      echo "$((SECONDS - local_start)) s, $((cpu_total - local_cpu)) CPU s" > "$background_dir/$build.seconds"
      mv "$background_dir/$build.status.part" "$background_dir/$build.status"
    done
  ) &
  background_pid=$!
}

# await_build NAME: waits for a background build, shows what it printed and
# returns its status.
await_build() {
  local name=$1 status_file=$background_dir/$1.status
  while [ ! -f "$status_file" ]; do
    kill -0 "$background_pid" 2> /dev/null || [ -f "$status_file" ] || {
      echo "$name: the background builds ended without it"
      return 1
    }
    sleep 1
  done
  local status
  status=$(cat "$status_file")
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$background_dir/$name.log"
  fi
  echo "$name: built in the background in $(cat "$background_dir/$name.seconds")"
  return "$status"
}

# run_ctest LABEL BUILD_DIR: the whole suite under one virtual display. Most
# tests wait on real-time pacing, so twice as many run at once as there are
# cores; the longest (those that start the game) are given the highest cost
# in tests/CMakeLists.txt so that they start first.
run_ctest() {
  local label=$1 dir=$2 log started=$SECONDS cpu
  cpu_now
  cpu=$cpu_total
  log=$dir/ctest.log
  echo "== $label: running the tests"
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$dir" --output-on-failure -j"$(($(nproc) * 2))" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    summaries+=("$label: no summary (the run did not finish)")
    status=1
    failed_total=$((failed_total + 1))
    return
  fi
  cpu_now
  summaries+=("$label: $line ($((SECONDS - started)) s, $((cpu_total - cpu)) CPU s)")
  local failed total
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed_total=$((passed_total + total - failed))
  failed_total=$((failed_total + failed))
}

# record_stage LABEL COMMAND...: an extra stage counted as one test.
record_stage() {
  local label=$1
  shift
  local started=$SECONDS cpu
  cpu_now
  cpu=$cpu_total
  echo "== $label"
  if "$@"; then
    cpu_now
    passed_total=$((passed_total + 1))
    summaries+=("$label: passed ($((SECONDS - started)) s, $((cpu_total - cpu)) CPU s)")
  else
    cpu_now
    failed_total=$((failed_total + 1))
    summaries+=("$label: FAILED ($((SECONDS - started)) s, $((cpu_total - cpu)) CPU s)")
    status=1
  fi
}

stop_services() {
  local stop
  for stop in "${service_stops[@]}"; do "$stop"; done
  if [ -n "$background_pid" ]; then
    kill -- "$background_pid" 2> /dev/null
    wait "$background_pid" 2> /dev/null
  fi
}
trap stop_services EXIT
for start in "${service_starts[@]}"; do
  "$start" || { echo "could not start a test service ($start)"; exit 1; }
done

start_background_builds
run_ctest "plain" build
for stage in "${plain_stages[@]}"; do "$stage"; done

echo "== sanitized: building with -fsanitize=address,undefined"
if await_build sanitized_build; then
  run_ctest "sanitized" build-asan
else
  summaries+=("sanitized: BUILD FAILED")
  failed_total=$((failed_total + 1))
  status=1
fi
for stage in "${sanitized_stages[@]}"; do "$stage"; done

echo
echo "== Summary"
printf '%s\n' "${summaries[@]}"
cpu_now
echo "(the whole command took $((SECONDS - started_at)) s, $cpu_total CPU s in the foreground)"
echo "tests: $passed_total passed, $failed_total failed"
exit $status
