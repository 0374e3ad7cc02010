#include "audio/Mixer.h"

#include "audio/BackgroundMusic.h"
#include "audio/MusicLevel.h"

#include <algorithm>

void Mixer::mix(float* output, int frames, bool withMusic)
{
    std::fill(output, output + 2 * frames, 0.0f);
    if (!withMusic)
        return;
    music.audioBlock(output, frames);
    level.apply(output, frames);
}
