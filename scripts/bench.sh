#!/usr/bin/env bash
# One report of what the game costs, each figure the median of RUNS runs:
#   scripts/bench.sh [RUNS]   (default 5)
# Start-up to the first frame, the frame interval (mean and 99th percentile)
# and the peak resident memory come from the running game
# (build/BrickVoyagerGameBench, sound off), in a 1024 x 768 window and full
# screen on a 1920 x 1080 display, with the CPU time per frame of each and
# their ratio (drawing follows the logical picture, so it should stay near 1;
# BV_PLAIN_DRAWING=1 in the environment measures the plain drawing); the CPU
# time per frame of the
# game's update, of its drawing and of a bare frame (clear and swap) on the
# same window from build/BrickVoyagerFrameBench playing the walkthrough; the
# decoding of one music buffer and audioBlock per frame from
# build/BrickVoyagerAudioBench; and, once rather than per run, the proof of
# each shipped plane (build/BrickVoyagerProofBench: CPU time and route
# frames). Needs no display of its own: each run gets a virtual one.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
screen=(-s "-screen 0 1280x1024x24")
wide=(-s "-screen 0 1920x1080x24")

# Only what is measured is built (a first run configures the whole build).
[ -f build/CMakeCache.txt ] || scripts/setup.sh build > /dev/null || { echo "bench: the build failed"; exit 1; }
cmake -S . -B build > /dev/null
cmake --build build -j2 --target BrickVoyager BrickVoyagerGameBench BrickVoyagerFrameBench \
  BrickVoyagerAudioBench BrickVoyagerProofBench > /dev/null || { echo "bench: the benchmarks did not build"; exit 1; }

work=$(mktemp -d /tmp/bv-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# first_number TEXT PATTERN: the first number after PATTERN in TEXT.
first_number() { sed -nE "s/.*$2 *([0-9.]+).*/\\1/p" <<<"$1" | head -n 1; }

for run in $(seq 1 "$runs"); do
  echo "bench: run $run of $runs" >&2
  game=$(SDL_VIDEODRIVER=x11 xvfb-run -a "${screen[@]}" build/BrickVoyagerGameBench --frames 300 2>&1)
  full=$(SDL_VIDEODRIVER=x11 xvfb-run -a "${wide[@]}" build/BrickVoyagerGameBench --frames 300 \
    -- -w 1920 -h 1080 --nosound 2>&1)
  frame=$(SDL_VIDEODRIVER=x11 xvfb-run -a "${screen[@]}" build/BrickVoyagerFrameBench \
    tests/data/walkthrough.txt 2>&1)
  # The first 1200 frames of walking right, not the whole route: a full-screen
  # frame costs a few times a windowed one.
  frame_full=$(SDL_VIDEODRIVER=x11 xvfb-run -a "${wide[@]}" build/BrickVoyagerFrameBench \
    --size 1920x1080 --fullscreen 2>&1)
  audio=$(build/BrickVoyagerAudioBench 2>&1)
  {
    echo "startup $(first_number "$game" 'first presented frame:')"
    echo "interval_mean $(first_number "$game" 'mean')"
    echo "interval_p99 $(first_number "$game" '99th percentile')"
    echo "peak_rss $(first_number "$game" 'MiB at the last frame, ')"
    echo "interval_min $(first_number "$game" 'min')"
    echo "below $(first_number "$game" 'ms, ')"
    echo "cpu_window $(first_number "$game" 'CPU time per frame \(all threads\):')"
    echo "cpu_full $(first_number "$full" 'CPU time per frame \(all threads\):')"
    echo "full_mean $(first_number "$full" 'mean')"
    echo "full_p99 $(first_number "$full" '99th percentile')"
    echo "full_min $(first_number "$full" 'min')"
    echo "full_below $(first_number "$full" 'ms, ')"
    echo "update $(first_number "$frame" 'update_ms')"
    echo "frame $(first_number "$frame" 'frame_ms')"
    echo "bare $(first_number "$frame" 'bare_ms')"
    echo "editor_frame $(first_number "$frame" 'editor_ms')"
    echo "editor_to_game $(first_number "$frame" 'editor_to_game')"
    echo "frame_full $(first_number "$frame_full" 'frame_ms')"
    echo "bare_full $(first_number "$frame_full" 'bare_ms')"
    echo "decode $(sed -nE 's/.*decoding one buffer.*median ([0-9.]+) ms.*/\1/p' <<<"$audio")"
    echo "mix $(sed -nE 's/.*audioBlock for one game frame.*median ([0-9.]+) us.*/\1/p' <<<"$audio")"
  } >> "$work/figures"
  for output in "$game" "$full" "$frame" "$frame_full" "$audio"; do
    grep -qE 'GameBench:|FrameBench: (cannot|no|SDL)|Usage' <<<"$output" && {
      echo "bench: a run failed:"; echo "$output"; exit 1; }
  done
done

median() {
  awk -v key="$1" '$1 == key && $2 != "" { print $2 }' "$work/figures" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "?"; else print v[int((NR + 1) / 2)] }'
}
update=$(median update) frame=$(median frame) bare=$(median bare)
drawing=$(awk -v f="$frame" -v u="$update" 'BEGIN { printf "%.3f", f - u }')
ratio=$(awk -v f="$frame" -v b="$bare" 'BEGIN { if (b > 0) printf "%.1f", f / b; else print "?" }')
decode=$(median decode)
cpu_window=$(median cpu_window) cpu_full=$(median cpu_full)
size_ratio=$(awk -v f="$cpu_full" -v w="$cpu_window" 'BEGIN { if (w > 0) printf "%.2f", f / w; else print "?" }')

echo "Brick Voyager benchmark: medians of $runs runs on $(nproc) cores, $(uname -m), $(. /etc/os-release; echo "$PRETTY_NAME")"
echo "  start-up to the first frame:         $(median startup) ms"
echo "  CPU per frame, game update:          $update ms"
echo "  CPU per frame, game drawing:         $drawing ms (whole frame $frame ms, less the update)"
echo "  CPU per frame, bare frame:           $bare ms (clear and swap on the same window)"
echo "  whole game frame / bare frame:       $ratio"
frame_full=$(median frame_full) bare_full=$(median bare_full)
echo "  full screen at 1920 x 1080:          whole frame $frame_full ms, bare frame $bare_full ms (whole frame $(awk -v f="$frame_full" -v w="$frame" 'BEGIN { if (w > 0) printf "%.2f", f / w; else print "?" }') x the window's)"
echo "  frame interval, 1024 x 768 window:   mean $(median interval_mean) ms, 99th percentile $(median interval_p99) ms, min $(median interval_min) ms, $(median below) below 29.5 ms (target 30 ms)"
echo "  frame interval, 1920 x 1080 full:    mean $(median full_mean) ms, 99th percentile $(median full_p99) ms, min $(median full_min) ms, $(median full_below) below 29.5 ms"
echo "  CPU per frame, running game:         $cpu_window ms in the 1024 x 768 window, $cpu_full ms full screen at 1920 x 1080 (ratio $size_ratio)"
echo "  music decoding, one buffer:          $decode ms of its 250 ms ($(awk -v d="$decode" 'BEGIN { printf "%.2f", d / 2.5 }')%)"
echo "  audioBlock per game frame (1323):    $(median mix) us"
echo "  peak resident memory:                $(median peak_rss) MiB"
echo "  proof of each shipped plane (CPU time, route frames), one run:"
build/BrickVoyagerProofBench | sed -e 's/^ProofBench: /    /'
