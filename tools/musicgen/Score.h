#pragma once

#include <vector>

// What the music plays, apart from how it sounds: a row of sections, each a
// run of pad chords of equal length with slow bell notes over them. The piece
// is a loop, so the last section leads back into the first.

const double chordSeconds = 7.5;

// A pad chord's notes (MIDI numbers), lowest first; the lowest carries the
// harmony. A 0 leaves that voice out, for a thinner chord.
struct Chord {
    int notes[6];
};

struct BellNote {
    double seconds; // from the start of its section
    int note;       // MIDI number
    double amplitude;
};

struct Section {
    std::vector<Chord> chords;
    std::vector<BellNote> bells;
};

std::vector<Section> score();
