#!/usr/bin/env bash
# Usage: tools/padtable/pad-table.sh
# Prints, from SDL 2's database of pad layouts in Debian's libsdl2 source
# (pinned in scripts/third-party/sources.txt, fetched into the cache), the
# facts src/platform/windows/PadNames.cpp keeps: for each family of pads,
# the bottom face button (by place: the line that is not by label), Start
# and how the D-pad comes, one line per distinct answer. Run it after
# changing the pin and compare.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source_dir=$(bash "$root/scripts/third-party/fetch.sh" libsdl2 | tail -n 1)
db=$source_dir/src/joystick/SDL_gamecontrollerdb.h

# The xinput line (the first, Windows'), then the DirectInput block's lines.
awk '
  /^#if SDL_JOYSTICK_XINPUT/ { xinput = 1; next }
  /^#if SDL_JOYSTICK_DINPUT/ { dinput = 1; next }
  /^#endif/ { xinput = 0; dinput = 0; next }
  (xinput || dinput) && /^ *"/ { print }
' "$db" | sed -E 's/^ *"//; s/",?$//' | awk -F, '
  function field(key,   i, parts) {
    for (i = 3; i <= NF; i++) { split($i, parts, ":"); if (parts[1] == key) return parts[2] }
    return "-"
  }
  # A line by label only ("hint:SDL_GAMECONTROLLER_USE_BUTTON_LABELS:=1") has a
  # twin by place ("hint:!..."); the one by place is kept.
  /hint:SDL_GAMECONTROLLER_USE_BUTTON_LABELS/ { next }
  {
    family = ""
    if ($1 == "xinput") family = "xbox (xinput)"
    else if ($2 ~ /^PS[45] Controller$/) family = "wireless controller (" $2 ")"
    else if ($2 == "Nintendo Switch Pro Controller") family = "pro controller"
    else if ($2 ~ /^8BitDo/) family = "8bitdo"
    if (family == "") next
    up = field("dpup")
    dpad = up ~ /^h/ ? "hat" : up ~ /^[+-]?a/ ? "axes" : up == "-" ? "none" : "buttons"
    print family ": a " field("a") ", start " field("start") ", D-pad " dpad ", stick " field("leftx") " " field("lefty")
  }' | sort -u
