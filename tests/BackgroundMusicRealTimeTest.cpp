#include "audio/BackgroundMusic.h"

#include "AudioTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace audiotest;

namespace {

// An audio thread that takes 512-frame blocks at exactly the pace of a
// 44100 Hz device for five seconds, while the decoding thread refills behind
// it on its own schedule. Any buffer played again before it was refilled, or
// refilled with the wrong stretch, shows as output that is not the music.
TEST(BackgroundMusicRealTimeTest, DecoderRefillsEveryBufferBeforeTheAudioThreadComesBackToIt)
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(3 * 44100 + 1234)});
    const Decoded decoded = decodeFirstStream(path);
    auto music = std::make_unique<BackgroundMusic>(path);

    const long frames = 5 * 44100;
    const int blockFrames = 512;
    std::vector<float> output(2 * frames, 0.0f);
    std::thread audio([&] {
        const auto start = std::chrono::steady_clock::now();
        for (long done = 0; done < frames; done += blockFrames) {
            std::this_thread::sleep_until(
                start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(done) / 44100.0)));
            const int count = static_cast<int>(std::min<long>(blockFrames, frames - done));
            music->audioBlock(output.data() + 2 * done, count);
        }
    });
    audio.join();

    MusicModel model(decoded);
    const Comparison result = compareWithModel(model, output, 0);
    EXPECT_EQ(result.mismatches, 0) << result.first;
}

} // namespace
