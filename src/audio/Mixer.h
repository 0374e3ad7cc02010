#pragma once

class BackgroundMusic;
class MusicLevel;

// The game's sound, one block of output at a time: silence, with the music
// added at the player's level unless the music is kept out. Runs on the
// audio thread, so it takes no lock, allocates nothing and makes no system
// call; music with nothing decoded yet adds nothing, and the block is silent.
class Mixer {
public:
    Mixer(BackgroundMusic& music, MusicLevel& level) : music(music), level(level) {}
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Writes every sample of frames interleaved stereo frames.
    void mix(float* output, int frames, bool withMusic);

private:
    BackgroundMusic& music;
    MusicLevel& level;
};
