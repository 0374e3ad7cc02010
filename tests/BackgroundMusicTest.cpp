#include "audio/BackgroundMusic.h"

#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "TestSupport.h"
#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace audiotest;

namespace {

// Plays frames in blocks, each added to a block that already holds base, the
// way the audio thread does when the decoder keeps ahead of it: before each
// block it waits until the buffer the block may enter has been refilled.
std::vector<float> play(BackgroundMusic& music, long frames, int blockFrames, float base = 0.0f)
{
    std::vector<float> output(2 * frames, base);
    for (long done = 0; done < frames; done += blockFrames) {
        const int count = static_cast<int>(std::min<long>(blockFrames, frames - done));
        EXPECT_TRUE(waitUntilReady(music, (music.getCurrentBuffer() + 1) % BackgroundMusic::bufferCount));
        music.audioBlock(output.data() + 2 * done, count);
    }
    return output;
}

// The music of the file made from streams, played and compared with the
// model of its first stream.
void expectPlaysAsModelled(const std::vector<VorbisStream>& streams, long frames, int blockFrames, float base = 0.0f)
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", streams);
    const Decoded decoded = decodeFirstStream(path);
    ASSERT_EQ(decoded.frames(), static_cast<long>(streams[0].samples.size() / streams[0].channels));
    auto music = std::make_unique<BackgroundMusic>(path);
    const std::vector<float> output = play(*music, frames, blockFrames, base);
    MusicModel model(decoded);
    const Comparison result = compareWithModel(model, output, 0, base);
    EXPECT_EQ(result.mismatches, 0) << result.first;
    for (size_t i = 0; i < output.size() && streams[0].channels == 1; i += 2)
        ASSERT_EQ(output[i], output[i + 1]) << "mono plays on both sides";
}

// Buffers are refilled in the order they were handed back, whatever the
// block length, the music's length against a buffer's, or a fill's end.
TEST(BackgroundMusicTest, AddsTheLoopingMusicTimesTheGrowingGainAtHalfAmplitude)
{
    const struct {
        long musicFrames;
        int blockFrames;
    } cases[] = {{40000, 1}, {40000, 4000}, {40000, 11024}, {40000, 11025}, {5000, 441}, {11025, 512}, {30000, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.musicFrames << " frames in blocks of " << c.blockFrames);
        expectPlaysAsModelled({glide(c.musicFrames)}, 9 * BackgroundMusic::bufferFrames + 777, c.blockFrames, 0.25f);
    }
}

TEST(BackgroundMusicTest, ChainedFilePlaysItsFirstStreamMonoPlaysOnBothSidesAndMoreChannelsTheirFirstTwo)
{
    expectPlaysAsModelled({glide(20000), glide(20000, 2, 700.0)}, 70000, 2048);
    expectPlaysAsModelled({glide(30000, 1)}, 50000, 1500);
    expectPlaysAsModelled({glide(30000, 3)}, 50000, 1500);
}

TEST(BackgroundMusicTest, EmptyOrUnreadableMusicIsReportedAndLeavesBlocksUnchangedWithoutHanging)
{
    TempDir dir;
    const std::string missing = dir.path() + "/missing.ogg";
    const std::string notOgg = dir.write("text.ogg", "this is not music\n");
    // The second stream's header pages no longer pass their checksum.
    std::string chained = readFile(writeMusic(dir.path() + "/chained.ogg", {glide(1500), glide(1500, 1)}));
    std::size_t second = chained.find("OggS", 1);
    while (second != std::string::npos && (chained[second + 5] & 2) == 0)
        second = chained.find("OggS", second + 4);
    ASSERT_NE(second, std::string::npos);
    chained.at(chained.find("OggS", second + 4) + 60) ^= 0x5a;
    const std::string brokenLink = dir.write("broken-link.ogg", chained);
    const std::string empty = writeMusic(dir.path() + "/empty.ogg", {glide(0)});
    const std::string emptyFirst = writeMusic(dir.path() + "/empty-first.ogg", {glide(0), glide(20000)});
    const std::pair<std::string, std::string> cases[] = {
        {missing, "vorbisfile: fopen could not open file: " + missing},
        {notOgg, "vorbisfile: Could not open file: " + notOgg},
        // The decoder gives up on the whole file (and, in libvorbisfile
        // 1.3.7, loses a few bytes doing so: see tests/sanitizer/lsan.supp).
        {brokenLink, "vorbisfile: Could not open file: " + brokenLink},
        // A stream without frames plays silence instead of looping for ever.
        {empty, "vorbisfile: Loaded file: " + empty},
        {emptyFirst, "vorbisfile: Loaded file: " + emptyFirst},
    };
    for (const auto& [path, message] : cases) {
        CoutCapture out;
        auto music = std::make_unique<BackgroundMusic>(path);
        EXPECT_EQ(out.lines(), std::vector<std::string>{message});
        std::vector<float> output(2 * 40000, -0.125f);
        if (message.find("Loaded") != std::string::npos)
            output = play(*music, 40000, 4096, -0.125f);  // waits for every fill to end
        else
            music->audioBlock(output.data(), 40000);
        EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](float v) { return v == -0.125f; })) << path;
    }
}

TEST(BackgroundMusicTest, GainReachesOneAfter990522Frames)
{
    TempDir dir;
    auto music = std::make_unique<BackgroundMusic>(writeMusic(dir.path() + "/music.ogg", {glide(5000)}));
    std::vector<float> block(2 * 1021);
    for (long done = 0; done < 990521; done += 1021)
        music->audioBlock(block.data(), static_cast<int>(std::min<long>(1021, 990521 - done)));
    EXPECT_LT(music->getFadeGain(), 1.0f);
    music->audioBlock(block.data(), 1);
    EXPECT_EQ(music->getFadeGain(), 1.0f);
    music->audioBlock(block.data(), 1021);
    EXPECT_EQ(music->getFadeGain(), 1.0f);
}

TEST(BackgroundMusicTest, GameMusicIsAQuietStereoLoopFromTheSoundsFolder)
{
    const std::string path = BackgroundMusic::getSoundsPath() + "music.ogg";
    EXPECT_EQ(path, FilePath::getDataFilesDir().path + "/sounds/music.ogg");
    {
        CoutCapture out;
        BackgroundMusic music;
        EXPECT_EQ(out.text(), "vorbisfile: Loaded file: " + path + "\n");
    }
    const Decoded decoded = decodeFirstStream(path);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.rate, 44100);
    // Three minutes or more, so that a new player does not hear it loop at once.
    EXPECT_GE(decoded.frames(), 180 * 44100);
    EXPECT_LE(decoded.frames(), 240 * 44100);
    float peak = 0.0f;
    for (long i = 0; i < decoded.frames(); ++i)
        peak = std::max({peak, std::fabs(decoded.left[i]), std::fabs(decoded.right[i])});
    EXPECT_LT(peak, 0.5f);
    // The end flows into the start: no step at the seam much beyond the
    // slopes on either side of it.
    const long last = decoded.frames() - 1;
    for (const std::vector<float>* channel : {&decoded.left, &decoded.right}) {
        const std::vector<float>& x = *channel;
        const float slope = std::max({std::fabs(x[last] - x[last - 1]), std::fabs(x[1] - x[0]), 0.0002f});
        EXPECT_LT(std::fabs(x[0] - x[last]), 4.0f * slope);
    }
}

} // namespace
