#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: as built, and
# built again with AddressSanitizer and UndefinedBehaviorSanitizer. Ends with
# one summary line over all runs and exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh --with-tests build || exit 1

# Tests never touch the real user's files: they get a home of their own, in
# which ALSA's default device is a sink that needs no sound card.
test_home=$root/build/test-home
rm -rf "$test_home"
mkdir -p "$test_home"
cat > "$test_home/.asoundrc" <<'ASOUND'
pcm.!default { type file slave.pcm "null" file "/dev/null" format "raw" }
ASOUND
export HOME=$test_home
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME
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
for stage in scripts/test-stages/*.sh; do
  [ -e "$stage" ] && . "$stage"
done

passed_total=0
failed_total=0
summaries=()
status=0

# run_ctest LABEL BUILD_DIR: the whole suite under one virtual display.
run_ctest() {
  local label=$1 dir=$2 log
  log=$dir/ctest.log
  echo "== $label: running the tests"
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    summaries+=("$label: no summary (the run did not finish)")
    status=1
    failed_total=$((failed_total + 1))
    return
  fi
  summaries+=("$label: $line")
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
  echo "== $label"
  if "$@"; then
    passed_total=$((passed_total + 1))
    summaries+=("$label: passed")
  else
    failed_total=$((failed_total + 1))
    summaries+=("$label: FAILED")
    status=1
  fi
}

stop_services() {
  local stop
  for stop in "${service_stops[@]}"; do "$stop"; done
}
trap stop_services EXIT
for start in "${service_starts[@]}"; do
  "$start" || { echo "could not start a test service ($start)"; exit 1; }
done

run_ctest "plain" build
for stage in "${plain_stages[@]}"; do "$stage"; done

echo "== sanitized: building with -fsanitize=address,undefined"
if scripts/setup.sh --with-tests build-asan -DBV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug; then
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
echo "tests: $passed_total passed, $failed_total failed"
exit $status
