// Five sections, A B A' C A'', so that a player who stays a few minutes hears
// the opening theme come back changed rather than one minute over again. All
// in D major and its neighbours, at one slow pace: a chord every 7.5 s.
#include "Score.h"

namespace {

const Chord dMajor = {{38, 45, 54, 57, 61, 64}};
const Chord bMinor = {{35, 42, 50, 54, 57, 61}};
const Chord gMajor = {{43, 50, 54, 57, 59, 62}};
const Chord gMajorHigh = {{43, 50, 55, 59, 62, 66}};
const Chord aSuspended = {{45, 52, 57, 59, 62, 64}};
const Chord aMajor = {{45, 52, 57, 59, 61, 64}};
const Chord dOverFSharp = {{42, 50, 54, 57, 62, 64}};
const Chord eMinor = {{40, 47, 55, 59, 62, 66}};
const Chord fSharpMinor = {{42, 49, 54, 57, 61, 64}};
const Chord fSharpSuspended = {{42, 49, 54, 59, 61, 64}};
// The bridge's chords keep the bass and three voices only.
const Chord gMajorThin = {{43, 50, 0, 57, 0, 62}};
const Chord eMinorThin = {{40, 47, 0, 59, 0, 66}};
const Chord cMajorThin = {{36, 43, 0, 55, 0, 64}};
const Chord aSuspendedThin = {{45, 52, 0, 59, 0, 64}};

// The theme: one falling and rising line over the six opening chords.
const std::vector<BellNote> theme = {
    {0.8, 78, 0.060},  {3.8, 76, 0.045},  {5.6, 81, 0.040},  {8.3, 74, 0.055},
    {11.0, 73, 0.045}, {13.4, 78, 0.035}, {15.8, 71, 0.055}, {18.8, 74, 0.045},
    {20.6, 78, 0.040}, {23.3, 76, 0.055}, {26.3, 74, 0.045}, {30.8, 81, 0.055},
    {33.8, 78, 0.045}, {35.6, 76, 0.035}, {38.3, 79, 0.055}, {41.3, 78, 0.045},
    {43.1, 74, 0.040},
};

// In B minor the bells fall to a lower register and move in rising pairs,
// each answered by a longer leap a little later.
const std::vector<BellNote> minorPairs = {
    {0.8, 71, 0.050},  {1.7, 73, 0.040},  {4.3, 78, 0.045},  {8.3, 69, 0.050},
    {9.2, 73, 0.040},  {11.8, 76, 0.045}, {15.8, 71, 0.050}, {16.7, 74, 0.040},
    {19.3, 78, 0.045}, {23.3, 73, 0.050}, {24.2, 71, 0.040}, {26.8, 66, 0.045},
    {30.8, 67, 0.050}, {31.7, 71, 0.040}, {34.3, 74, 0.045}, {38.3, 69, 0.050},
    {39.2, 73, 0.040}, {41.8, 76, 0.045},
};

// Under the theme an octave up, a slow line climbing from the tonic, placed
// in the theme's gaps.
const std::vector<BellNote> counterLine = {
    {2.3, 62, 0.045},  {9.7, 66, 0.045},  {17.3, 67, 0.045}, {24.8, 69, 0.045},
    {28.5, 64, 0.035}, {32.3, 66, 0.045}, {39.8, 67, 0.040},
};

const std::vector<BellNote> bridge = {
    {1.5, 74, 0.045},  {9.0, 71, 0.040},  {12.5, 78, 0.030}, {16.5, 76, 0.045},
    {20.5, 71, 0.035}, {24.0, 74, 0.040}, {28.0, 76, 0.035},
};

// The theme's opening, then a close that settles and leaves the last
// seconds to the pads, which die away into the loop's start.
const std::vector<BellNote> closing = {
    {0.8, 78, 0.060},  {3.8, 76, 0.045},  {5.6, 74, 0.040},  {8.3, 74, 0.055},
    {11.0, 73, 0.045}, {13.4, 71, 0.035}, {15.8, 71, 0.055}, {18.8, 74, 0.045},
    {20.6, 79, 0.040}, {23.3, 78, 0.050}, {26.3, 76, 0.045}, {28.1, 74, 0.035},
    {30.8, 73, 0.045},
};

std::vector<BellNote> shifted(const std::vector<BellNote>& notes, int semitones, double gain)
{
    std::vector<BellNote> result;
    for (const BellNote& bell : notes)
        result.push_back({bell.seconds, bell.note + semitones, bell.amplitude * gain});
    return result;
}

std::vector<BellNote> together(std::vector<BellNote> first, const std::vector<BellNote>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

std::vector<Section> score()
{
    const std::vector<Chord> opening = {dMajor, bMinor, gMajor, aSuspended, dOverFSharp, eMinor};
    return {
        {opening, theme},
        {{bMinor, fSharpMinor, gMajor, fSharpSuspended, eMinor, aMajor}, minorPairs},
        // Higher bells sound brighter: an octave up they are played softer.
        {opening, together(shifted(theme, 12, 0.5), counterLine)},
        {{gMajorThin, eMinorThin, cMajorThin, aSuspendedThin}, bridge},
        {{dMajor, bMinor, gMajorHigh, eMinor, aMajor}, closing},
    };
}
