#!/bin/bash
# Each plane of the shipped levels teaches one idea; taken away, the plane
# must not be finishable. For each plane, this runs the route finder on a
# variant without the idea and says whether a route was still found.
#   bash tools/walkthrough/check-ideas.sh [LEVELS_FILE [MAX_FRAMES [CAP]]]
# A variant freezes a block at its first key (--freeze P.S.B: plane, screen,
# block, all counted from 0), adds a still block (--add P.S.X.Y.TYPE) or
# leaves something out of the play (--no-jumps, --no-wrap).
set -u
levels=${1:-resources/levels.xml}
frames=${2:-2000}
cap=${3:-3000}
finder=${FINDER:-build/BrickVoyagerRouteFinder}

variants=(
  "0|walking, falling, jumping: no jumps|--no-jumps"
  "1|the swelling bridge, held small|--freeze 1.3.2"
  "2|the first hanging pillar, held low|--freeze 2.0.3"
  "3|the fall through both rows: the lower left screen closed below|--add 3.2.-300.700.2 --add 3.2.400.700.2"
  "4|the lift, held low|--freeze 4.0.3"
  "5|the first lift of the pair, held|--freeze 5.3.4"
  "5|the second lift of the pair, held|--freeze 5.3.5"
  "6|the rows as rings: no way round|--no-wrap"
  "7|the lift of the three gates, held still|--freeze 7.1.3"
  "7|the shrinking pillar of the three gates, held|--freeze 7.1.5"
  "8|the hanging pillar, held low|--freeze 8.0.4"
  "8|the swelling bridge, held small|--freeze 8.2.2"
  "9|the higher lift, held|--freeze 9.0.5"
  "9|the lower lift, held|--freeze 9.0.4"
  "9|the hanging pillar, held low|--freeze 9.3.3"
)
status=0
for variant in "${variants[@]}"; do
  IFS='|' read -r plane idea options <<<"$variant"
  # shellcheck disable=SC2086
  if "$finder" --plane "$plane" $options "$levels" - "$frames" "$cap" | grep -q "done in"; then
    echo "plane $plane without $idea: still finishable"
    status=1
  else
    echo "plane $plane without $idea: no route"
  fi
done
exit $status
