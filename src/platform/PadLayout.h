#pragma once

// Where a gamepad's controls are among the numbers SDL gives its buttons and
// axes, as the system's SDL reports that pad. A pad nobody described is
// raw: no button jumps, button 9 pauses (Start on a PlayStation pad read
// raw), and its hat, if it has one, is its D-pad. -1 is "no such button".
struct PadLayout {
    // True when the pad was described (by SDL's database, the game's own
    // table, the browser or the player's file), false for a raw pad.
    bool standard = false;
    int a = -1;
    int start = 9;
    // The D-pad as four buttons; all -1 where it is a hat.
    int up = -1;
    int down = -1;
    int left = -1;
    int right = -1;
    // The left stick's horizontal and vertical axes.
    int stickX = 0;
    int stickY = 1;

    // A described pad's layout; the D-pad's buttons -1 where it is a hat.
    static PadLayout described(int a, int start, int up = -1, int down = -1, int left = -1, int right = -1)
    {
        PadLayout layout;
        layout.standard = true;
        layout.a = a;
        layout.start = start;
        layout.up = up;
        layout.down = down;
        layout.left = left;
        layout.right = right;
        return layout;
    }

    bool operator==(const PadLayout& other) const
    {
        return standard == other.standard && a == other.a && start == other.start && up == other.up &&
               down == other.down && left == other.left && right == other.right &&
               stickX == other.stickX && stickY == other.stickY;
    }
};
