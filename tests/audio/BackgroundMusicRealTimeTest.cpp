#include "audio/BackgroundMusic.h"

#include "AudioTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace audiotest;

// An audio thread that takes 512-frame blocks at exactly the pace of a
// 44100 Hz device for five seconds, while the decoding thread refills behind
// it on its own schedule. Any buffer played again before it was refilled, or
// refilled with the wrong stretch, shows as output that is not the music.
TEST(BackgroundMusicRealTimeTest, DecoderRefillsEveryBufferBeforeTheAudioThreadComesBackToIt)
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(3 * 44100 + 1234)});
    auto music = std::make_unique<BackgroundMusic>(path);
    const long frames = 5 * 44100;
    std::vector<float> output(2 * frames, 0.0f);
    std::thread audio([&] {
        const auto start = std::chrono::steady_clock::now();
        for (long done = 0; done < frames; done += 512) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(done * 1000000LL / 44100));
            music->audioBlock(output.data() + 2 * done, static_cast<int>(std::min<long>(512, frames - done)));
        }
    });
    audio.join();
    EXPECT_EQ(firstDifference(output, path), -1);
}
