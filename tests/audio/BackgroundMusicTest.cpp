#include "audio/BackgroundMusic.h"

#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "platform/FilePath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

using namespace audiotest;

namespace {

// The music as a system without threads plays it: nothing decodes but the
// main loop's refill.
struct MainLoopMusic : BackgroundMusic {
    explicit MainLoopMusic(const std::string& path) : BackgroundMusic(path, WithoutDecodingThread{}) {}
};

// Plays frames in blocks, each added to a block that already holds base, the
// way the audio thread does when the decoder keeps ahead of it: before each
// block the main loop has its refill (which leaves a decoding thread's work to
// it) and then it waits (two seconds at most) until the buffer the block may
// enter has been refilled.
std::vector<float> play(BackgroundMusic& music, long frames, int blockFrames, float base)
{
    std::vector<float> output(2 * frames, base);
    for (long done = 0; done < frames; done += blockFrames) {
        music.refillOnMainLoop();
        const int next = (music.getCurrentBuffer() + 1) % BackgroundMusic::bufferCount;
        for (int tries = 0; tries < 400 && !music.isBufferReady(next); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        music.audioBlock(output.data() + 2 * done, static_cast<int>(std::min<long>(blockFrames, frames - done)));
    }
    return output;
}

// Buffers are refilled in the order they were handed back (a fast audio
// thread hands back two before the decoder looks), by the decoding thread or
// by the main loop where there is none, whatever the block length,
// the music's length against a buffer's, or a fill's end. A chained file plays
// its first stream, mono plays on both sides, more channels their first two.
TEST(BackgroundMusicTest, AddsTheLoopingMusicTimesTheGrowingGainAtHalfAmplitude)
{
    const struct {
        std::vector<VorbisStream> streams;
        int blockFrames;
    } cases[] = {
        {{glide(40000)}, 1},     {{glide(40000)}, 4000}, {{glide(40000)}, 11024}, {{glide(40000)}, 11025},
        {{glide(5000)}, 441},    {{glide(11025)}, 512},  {{glide(30000)}, 1000},
        {{glide(20000), glide(20000, 2, 700.0)}, 2048},  {{glide(30000, 1)}, 1500}, {{glide(30000, 3)}, 1500},
    };
    TempDir dir;
    const long frames = 9 * BackgroundMusic::bufferFrames + 777;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.streams[0].samples.size() << " samples in blocks of " << c.blockFrames);
        const std::string path = writeMusic(dir.path() + "/music.ogg", c.streams);
        auto music = std::make_unique<BackgroundMusic>(path);
        EXPECT_EQ(firstDifference(play(*music, frames, c.blockFrames, 0.25f), path, 0.25f), -1);
        auto onMainLoop = std::make_unique<MainLoopMusic>(path);
        EXPECT_EQ(firstDifference(play(*onMainLoop, frames, c.blockFrames, 0.25f), path, 0.25f), -1)
            << "refilled on the main loop";
    }
}

// A stream without frames plays silence instead of looping for ever. The
// decoder reads and keeps the headers of every chained stream on opening: a
// file chaining more than the bound is refused before it does.
TEST(BackgroundMusicTest, EmptyUnreadableOrOverlongMusicIsReportedAndLeavesBlocksUnchangedWithoutHanging)
{
    TempDir dir;
    const int most = BackgroundMusic::maxChainedStreams;
    const std::string missing = dir.path() + "/missing.ogg", text = dir.write("text.ogg", "this is not music\n"),
                      empty = writeMusic(dir.path() + "/empty.ogg", {glide(0)}),
                      emptyFirst = writeMusic(dir.path() + "/empty-first.ogg", {glide(0), glide(20000)}),
                      chained = writeMusic(dir.path() + "/chained.ogg", std::vector<VorbisStream>(most + 1, glide(1500)));
    const std::pair<std::string, std::string> cases[] = {
        {missing, "vorbisfile: fopen could not open file: " + missing},
        {text, "vorbisfile: Could not open file: " + text},
        {empty, "vorbisfile: Loaded file: " + empty},
        {emptyFirst, "vorbisfile: Loaded file: " + emptyFirst},
        {chained, "BackgroundMusic: " + chained + " chains more than " + std::to_string(most) + " streams; playing no music."},
    };
    for (const auto& [path, line] : cases) {
        CoutCapture out;
        auto music = std::make_unique<BackgroundMusic>(path);
        EXPECT_EQ(out.lines(), std::vector<std::string>{line});
        const std::vector<float> output = play(*music, 40000, 4096, -0.125f);
        EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](float v) { return v == -0.125f; })) << path;
    }
    // As many streams as the bound allows are still taken.
    const std::string allowed = writeMusic(dir.path() + "/allowed.ogg", std::vector<VorbisStream>(most, glide(1500)));
    CoutCapture out;
    const auto music = std::make_unique<BackgroundMusic>(allowed);
    EXPECT_EQ(out.lines(), std::vector<std::string>{"vorbisfile: Loaded file: " + allowed});
}

// The game's music: three minutes or more, so that a new player does not
// hear it loop at once; quiet; and its end flows into its start, with no step
// at the seam much beyond the slopes on either side of it. Played, it fades
// in to full gain and stays there.
TEST(BackgroundMusicTest, GameMusicIsAQuietStereoLoopThatFadesInToFullGain)
{
    DecodedMusic decoded;
    ASSERT_TRUE(readFirstStream(FilePath::getDataFilesDir().path + "/sounds/music.ogg", decoded));
    EXPECT_TRUE(decoded.channels == 2 && decoded.rate == 44100);
    EXPECT_TRUE(decoded.frames() >= 180 * 44100 && decoded.frames() <= 240 * 44100) << decoded.frames();
    const long last = decoded.frames() - 1;
    for (const std::vector<float>* channel : {&decoded.left, &decoded.right}) {
        const std::vector<float>& x = *channel;
        const auto [low, high] = std::minmax_element(x.begin(), x.end());
        EXPECT_LT(std::max(-*low, *high), 0.5f);
        const float slope = std::max({std::fabs(x[last] - x[last - 1]), std::fabs(x[1] - x[0]), 0.0002f});
        EXPECT_LT(std::fabs(x[0] - x[last]), 4.0f * slope);
    }
    CoutCapture quiet;
    auto music = std::make_unique<BackgroundMusic>();
    std::vector<float> block(2 * 1000000);
    music->audioBlock(block.data(), 1000000);
    EXPECT_EQ(music->getFadeGain(), 1.0f);
}

} // namespace

// An audio thread that takes 512-frame blocks at exactly the pace of a
// 44100 Hz device for five seconds, while the decoding thread refills behind
// it on its own schedule. Any buffer played again before it was refilled, or
// refilled with the wrong stretch, shows as output that is not the music.
// Woken late by a busy machine, the audio thread takes up its pace from
// then on rather than catching up in a burst faster than any device plays.
TEST(BackgroundMusicRealTimeTest, DecoderRefillsEveryBufferBeforeTheAudioThreadComesBackToIt)
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(3 * 44100 + 1234)});
    auto music = std::make_unique<BackgroundMusic>(path);
    const long frames = 5 * 44100;
    std::vector<float> output(2 * frames, 0.0f);
    std::thread audio([&] {
        const auto block = std::chrono::nanoseconds(512 * 1000000000LL / 44100);
        auto due = std::chrono::steady_clock::now();
        for (long done = 0; done < frames; done += 512) {
            std::this_thread::sleep_until(due);
            music->audioBlock(output.data() + 2 * done, static_cast<int>(std::min<long>(512, frames - done)));
            due = std::max(due, std::chrono::steady_clock::now() - block) + block;
        }
    });
    audio.join();
    EXPECT_EQ(firstDifference(output, path), -1);
}
