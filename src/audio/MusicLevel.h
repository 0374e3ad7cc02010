#pragma once

#include <SDL.h>

#include <atomic>

// The music's loudness as the player sets it: M mutes and unmutes, minus and
// plus step through levels 0 to 10 (10 is the track as mixed). The main
// thread hands the resulting gain to the audio thread through one atomic
// value, and the audio thread glides to it over rampFrames, so a change never
// clicks and the audio path takes no lock.
class MusicLevel {
public:
    static constexpr int loudest = 10;
    // About 20 ms at 44100 Hz.
    static constexpr int rampFrames = 882;

    // Main thread. True when the key is one of the music keys; the new level
    // is then in effect and printed ("Music: 7 of 10", "Music: muted").
    bool keyDown(SDLKey sym);
    // Main thread, silently: a level kept from an earlier run. Out-of-range
    // levels are clamped.
    void set(int level, bool muted);
    int getLevel() const { return level; }
    bool isMuted() const { return muted; }

    // Audio thread: multiplies the interleaved stereo block by the gain,
    // moving toward the latest level. No lock, no allocation, no system call.
    void apply(float* block, int frames);

    // The gain of a level: its square, so that the steps sound about even.
    static float gainOf(int level);

private:
    void publish();

    // Main thread only.
    int level = loudest;
    bool muted = false;
    // Written by the main thread, read by the audio thread.
    std::atomic<float> targetGain{1.0f};
    static_assert(std::atomic<float>::is_always_lock_free, "the audio thread must not lock");

    // Audio thread only.
    float gain = 1.0f;
    float rampTarget = 1.0f;
    float rampStep = 0.0f;
    int rampLeft = 0;
};
