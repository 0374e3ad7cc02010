#pragma once

// Music files made by the tests themselves, an independent decode of them and
// a model of what BackgroundMusic must add to each frame of output.

#include "OggVorbisReader.h"
#include "OggVorbisWriter.h"
#include "audio/BackgroundMusic.h"

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <vorbis/vorbisfile.h>

#include <filesystem>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
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
            const double hz = startHz * (1.0 + 0.5 * channel) + 0.01 * frame;
            phase += 2.0 * M_PI * hz / 44100.0;
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

using Decoded = DecodedMusic;

inline Decoded decodeFirstStream(const std::string& path)
{
    Decoded decoded;
    if (!readFirstStream(path, decoded))
        ADD_FAILURE() << "cannot decode " << path;
    return decoded;
}

// What the music adds to frame after frame of a block: the decoded music,
// looping, times a gain that starts at 0 and grows after each frame, times 0.5.
class MusicModel {
public:
    explicit MusicModel(const Decoded& music) : music(music) {}

    void next(float& left, float& right)
    {
        if (music.frames() == 0) {
            left = right = 0.0f;
        } else {
            left = music.left[position] * gain * 0.5f;
            right = music.right[position] * gain * 0.5f;
            position = (position + 1) % music.frames();
        }
        if (gain < 1.0f)
            gain += 0.000001f;
    }

private:
    const Decoded& music;
    long position = 0;
    float gain = 0.0f;
};

// Counts the frames of an interleaved block that differ from the model's,
// each compared after adding it to base, and describes the first.
struct Comparison {
    long mismatches = 0;
    std::string first;
};

inline Comparison compareWithModel(MusicModel& model, const std::vector<float>& block,
                                   long firstFrame, float base = 0.0f)
{
    Comparison result;
    const long frames = static_cast<long>(block.size()) / 2;
    for (long frame = 0; frame < frames; ++frame) {
        float left = 0.0f;
        float right = 0.0f;
        model.next(left, right);
        left += base;
        right += base;
        if (std::fabs(block[2 * frame] - left) > 1e-6f || std::fabs(block[2 * frame + 1] - right) > 1e-6f) {
            if (result.mismatches++ == 0)
                result.first = "frame " + std::to_string(firstFrame + frame) + ": got ("
                               + std::to_string(block[2 * frame]) + ", "
                               + std::to_string(block[2 * frame + 1]) + "), expected ("
                               + std::to_string(left) + ", " + std::to_string(right) + ")";
        }
    }
    return result;
}

// Waits until the decoding thread has refilled the buffer, as it must in the
// time the other two take to play; false after two seconds.
inline bool waitUntilReady(const BackgroundMusic& music, int buffer)
{
    for (int tries = 0; tries < 400; ++tries) {
        if (music.isBufferReady(buffer))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// ALSA loads its plugin modules (JACK's, PulseAudio's ...) while PortAudio
// probes the devices and unloads them again; LeakSanitizer then finds what
// those modules' libraries keep for the process referenced only from an
// unloaded, unnamed module, which no suppression can name. Kept loaded, the
// reports name the library and the suppressions file can speak of it.
inline void keepAlsaPluginsLoaded()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&snd_asoundlib_version), &info) || !info.dli_fname)
        return;
    const auto pluginDir = std::filesystem::path(info.dli_fname).parent_path() / "alsa-lib";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(pluginDir, error)) {
        if (entry.path().extension() == ".so")
            dlopen(entry.path().c_str(), RTLD_NOW | RTLD_NODELETE);
    }
}

} // namespace audiotest
