#!/usr/bin/env bash
# Line coverage of src/ by the plain suite: a build of its own in
# build-coverage/ instrumented with --coverage, the whole suite run as the test
# command runs it (its own home, a virtual display, the JACK dummy server),
# then gcovr's summary, and an HTML report in build-coverage/coverage/.
# Not part of the test command: it is a measure, not a proof.
#   scripts/coverage.sh [ctest arguments...]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir=build-coverage

scripts/setup.sh --with-tests "$dir" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage || exit 1

. scripts/test-home.sh
use_test_home "$root/$dir/test-home"

# Counters of an earlier run would add to this one's.
find "$dir" -name '*.gcda' -delete

# The JACK server of the test command, so that the real-time cases run too.
jack_pid=
start_jack() { :; }
stop_jack() { :; }
[ -e scripts/test-stages/jack.sh ] && . scripts/test-stages/jack.sh
trap stop_jack EXIT
start_jack || echo "coverage: no JACK server, its cases will fail and count less"

xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@"
ctest_status=$?

mkdir -p "$dir/coverage"
gcovr --root "$root" --filter "$root/src/" --object-directory "$dir" \
  --html-details "$dir/coverage/index.html" --print-summary --gcov-ignore-parse-errors \
  > "$dir/coverage/summary.txt" || exit 1
grep -E '^(lines|functions|branches):' "$dir/coverage/summary.txt"
echo "coverage: report in $dir/coverage/index.html"
exit $ctest_status
