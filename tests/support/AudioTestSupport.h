#pragma once

// Music files made by the tests themselves, and what BackgroundMusic must add
// to each frame of output given an independent decode of them.

#include "audio/BackgroundMusic.h"
#include "OggVorbisReader.h"
#include "OggVorbisWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace audiotest {

// A gliding tone per channel, different on each, so that neither a repeated
// nor a skipped stretch of music nor swapped sides can pass for the right
// one. Each extra channel glides a little higher again.
inline VorbisStream glide(long frames, int channels = 2, double startHz = 220.0)
{
    VorbisStream stream;
    stream.channels = channels;
    stream.samples.resize(static_cast<size_t>(frames) * channels);
    for (int channel = 0; channel < channels; ++channel) {
        double phase = 0.3 * channel + 1.0;
        for (long frame = 0; frame < frames; ++frame) {
            phase += 2.0 * M_PI * (startHz * (1.0 + 0.5 * channel) + 0.01 * frame) / 44100.0;
            stream.samples[frame * channels + channel] = static_cast<float>(0.6 * std::cos(phase));
        }
    }
    return stream;
}

inline std::string writeMusic(const std::string& path, const std::vector<VorbisStream>& streams)
{
    EXPECT_TRUE(writeOggVorbis(path, streams, 0.4f)) << path;
    return path;
}

// The first frame of played that is not base plus what the music of the
// file adds there, or -1: its first stream decoded, looping, times a gain
// that starts at 0 and grows by a millionth after each frame, at half
// amplitude.
inline long firstDifference(const std::vector<float>& played, const std::string& path, float base = 0.0f)
{
    DecodedMusic music;
    EXPECT_TRUE(readFirstStream(path, music) && music.frames() > 0) << "cannot decode " << path;
    float gain = 0.0f;
    for (std::size_t frame = 0; 2 * frame < played.size() && music.frames() > 0; ++frame) {
        const std::size_t at = frame % music.frames();
        if (std::fabs(played[2 * frame] - (base + music.left[at] * gain * 0.5f)) > 1e-6f ||
            std::fabs(played[2 * frame + 1] - (base + music.right[at] * gain * 0.5f)) > 1e-6f)
            return static_cast<long>(frame);
        if (gain < 1.0f)
            gain += 0.000001f;
    }
    return -1;
}

} // namespace audiotest
