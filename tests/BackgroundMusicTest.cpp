#include "audio/BackgroundMusic.h"

#include "AudioTestSupport.h"
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

// Plays frames without waiting for the decoder; what they hold is not looked at.
void skip(BackgroundMusic& music, long frames)
{
    std::vector<float> block(2 * 1021);
    for (long done = 0; done < frames; done += 1021) {
        const int count = static_cast<int>(std::min<long>(1021, frames - done));
        music.audioBlock(block.data(), count);
    }
}

// A chained file whose second stream's header pages no longer pass their
// checksum: the second page after that stream's first.
std::string withSecondLinkDamaged(std::string ogg)
{
    size_t secondStream = std::string::npos;
    for (size_t at = ogg.find("OggS"); at != std::string::npos; at = ogg.find("OggS", at + 4))
        if (at > 0 && (ogg[at + 5] & 2) != 0) {
            secondStream = at;
            break;
        }
    EXPECT_NE(secondStream, std::string::npos) << "no second stream";
    const size_t headers = ogg.find("OggS", secondStream + 4);
    EXPECT_NE(headers, std::string::npos);
    ogg.at(headers + 60) ^= 0x5a;
    return ogg;
}

struct PlaybackCase {
    const char* name;
    long musicFrames;
    int blockFrames;
};

class BackgroundMusicPlayback : public ::testing::TestWithParam<PlaybackCase> {};

TEST_P(BackgroundMusicPlayback, AddsTheLoopingMusicTimesTheGrowingGainAtHalfAmplitude)
{
    const PlaybackCase& c = GetParam();
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(c.musicFrames)});
    const Decoded decoded = decodeFirstStream(path);
    ASSERT_EQ(decoded.frames(), c.musicFrames);
    ASSERT_NE(decoded.left[0], 0.0f);

    auto music = std::make_unique<BackgroundMusic>(path);
    const float base = 0.25f;
    const std::vector<float> output = play(*music, 9 * BackgroundMusic::bufferFrames + 777, c.blockFrames, base);

    EXPECT_EQ(output[0], base) << "the gain is applied before it grows";
    EXPECT_EQ(output[1], base);
    MusicModel model(decoded);
    const Comparison result = compareWithModel(model, output, 0, base);
    EXPECT_EQ(result.mismatches, 0) << result.first;
}

INSTANTIATE_TEST_SUITE_P(
    BlockAndMusicLengths, BackgroundMusicPlayback,
    ::testing::Values(PlaybackCase{"SingleFrames", 40000, 1}, PlaybackCase{"SmallBlocks", 40000, 256},
                      PlaybackCase{"BlocksCrossingBufferEnds", 40000, 4000},
                      PlaybackCase{"BlocksOneShortOfABuffer", 40000, 11024},
                      PlaybackCase{"BlocksEndingOnBufferEnds", 40000, 11025},
                      PlaybackCase{"MusicShorterThanABuffer", 5000, 441},
                      PlaybackCase{"MusicOfExactlyOneBuffer", 11025, 512},
                      PlaybackCase{"MusicEndingInsideAFill", 30000, 1000}),
    [](const ::testing::TestParamInfo<PlaybackCase>& info) { return std::string(info.param.name); });

TEST(BackgroundMusicTest, BlockEndingOnBufferEndHandsItBackAndTheNextStartsAtFrameZero)
{
    TempDir dir;
    auto music = std::make_unique<BackgroundMusic>(writeMusic(dir.path() + "/music.ogg", {glide(50000)}));
    std::vector<float> block(2 * BackgroundMusic::bufferFrames);

    music->audioBlock(block.data(), BackgroundMusic::bufferFrames);
    EXPECT_EQ(music->getCurrentBuffer(), 1);
    EXPECT_EQ(music->getPlayPosition(), 0);

    music->audioBlock(block.data(), 3000);
    EXPECT_EQ(music->getCurrentBuffer(), 1);
    EXPECT_EQ(music->getPlayPosition(), 3000);

    ASSERT_TRUE(waitUntilReady(*music, 2));
    music->audioBlock(block.data(), BackgroundMusic::bufferFrames - 3000 + 500);
    EXPECT_EQ(music->getCurrentBuffer(), 2);
    EXPECT_EQ(music->getPlayPosition(), 500);
}

TEST(BackgroundMusicTest, ChainedFilePlaysOnlyItsFirstStreamInALoop)
{
    TempDir dir;
    const std::string path =
        writeMusic(dir.path() + "/chained.ogg", {glide(20000), glide(20000, 2, 700.0)});
    const Decoded first = decodeFirstStream(path);
    ASSERT_EQ(first.frames(), 20000);

    auto music = std::make_unique<BackgroundMusic>(path);
    const std::vector<float> output = play(*music, 70000, 2048);
    MusicModel model(first);
    const Comparison result = compareWithModel(model, output, 0);
    EXPECT_EQ(result.mismatches, 0) << result.first;
}

TEST(BackgroundMusicTest, MonoPlaysOnBothSidesAndMoreChannelsPlayTheirFirstTwo)
{
    for (int channels : {1, 3}) {
        SCOPED_TRACE(std::to_string(channels) + " channels");
        TempDir dir;
        const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(30000, channels)});
        const Decoded decoded = decodeFirstStream(path);
        ASSERT_EQ(decoded.channels, channels);

        auto music = std::make_unique<BackgroundMusic>(path);
        const std::vector<float> output = play(*music, 50000, 1500);
        MusicModel model(decoded);
        const Comparison result = compareWithModel(model, output, 0);
        EXPECT_EQ(result.mismatches, 0) << result.first;
        long sidesDiffer = 0;
        for (size_t i = 0; i < output.size(); i += 2)
            sidesDiffer += output[i] != output[i + 1];
        if (channels == 1)
            EXPECT_EQ(sidesDiffer, 0);
        else
            EXPECT_GT(sidesDiffer, 40000);
    }
}

TEST(BackgroundMusicTest, StreamWithoutFramesPlaysSilenceAndNeverHangsAFill)
{
    TempDir dir;
    const std::vector<std::vector<VorbisStream>> files = {{glide(0)}, {glide(0), glide(20000)}};
    for (const std::vector<VorbisStream>& streams : files) {
        SCOPED_TRACE(std::to_string(streams.size()) + " streams");
        const std::string path = writeMusic(dir.path() + "/empty.ogg", streams);
        testing::internal::CaptureStdout();
        auto music = std::make_unique<BackgroundMusic>(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "vorbisfile: Loaded file: " + path + "\n");
        const std::vector<float> output = play(*music, 40000, 4096, 0.5f);
        EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](float v) { return v == 0.5f; }));
    }
}

TEST(BackgroundMusicTest, UnreadableMusicIsReportedAndLeavesBlocksUnchanged)
{
    TempDir dir;
    const std::string missing = dir.path() + "/missing.ogg";
    const std::string notOgg = dir.write("text.ogg", "this is not music\n");
    const std::string brokenLink = dir.write("broken-link.ogg", withSecondLinkDamaged(
        readFile(writeMusic(dir.path() + "/chained.ogg", {glide(1500), glide(1500, 1)}))));
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {missing, "vorbisfile: fopen could not open file: " + missing + "\n"},
        {notOgg, "vorbisfile: Could not open file: " + notOgg + "\n"},
        // The decoder gives up on the whole file (and, in libvorbisfile
        // 1.3.7, loses a few bytes doing so: see tests/sanitizer/lsan.supp).
        {brokenLink, "vorbisfile: Could not open file: " + brokenLink + "\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        auto music = std::make_unique<BackgroundMusic>(c.path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
        std::vector<float> block(2 * 20000, -0.125f);
        music->audioBlock(block.data(), 20000);
        EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](float v) { return v == -0.125f; }));
    }
}

TEST(BackgroundMusicTest, GainReachesOneAfter990522FramesAndThenMusicPlaysAtHalfAmplitude)
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(5000)});
    const Decoded decoded = decodeFirstStream(path);
    auto music = std::make_unique<BackgroundMusic>(path);

    skip(*music, 990521);
    EXPECT_LT(music->getFadeGain(), 1.0f);
    skip(*music, 1);
    EXPECT_EQ(music->getFadeGain(), 1.0f);
    skip(*music, 30000);
    EXPECT_EQ(music->getFadeGain(), 1.0f);

    // The decoder fell behind while frames were skipped; once it has caught
    // up, a whole buffer is the music, halved, from wherever it had got to.
    for (int buffer = 0; buffer < BackgroundMusic::bufferCount; ++buffer)
        ASSERT_TRUE(waitUntilReady(*music, buffer));
    skip(*music, BackgroundMusic::bufferFrames - music->getPlayPosition());
    for (int buffer = 0; buffer < BackgroundMusic::bufferCount; ++buffer)
        ASSERT_TRUE(waitUntilReady(*music, buffer));
    std::vector<float> output(2 * BackgroundMusic::bufferFrames, 0.0f);
    music->audioBlock(output.data(), BackgroundMusic::bufferFrames);

    long start = -1;
    for (long k = 0; k < decoded.frames() && start < 0; ++k)
        if (decoded.left[k] * 0.5f == output[0] && decoded.right[k] * 0.5f == output[1]
            && decoded.left[(k + 1) % decoded.frames()] * 0.5f == output[2])
            start = k;
    ASSERT_GE(start, 0) << "the output is not the music at half amplitude";
    long mismatches = 0;
    for (long frame = 0; frame < BackgroundMusic::bufferFrames; ++frame) {
        const long at = (start + frame) % decoded.frames();
        mismatches += output[2 * frame] != decoded.left[at] * 0.5f
                      || output[2 * frame + 1] != decoded.right[at] * 0.5f;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(BackgroundMusicTest, GameMusicIsAQuietStereoLoopFromTheSoundsFolder)
{
    const std::string sounds = BackgroundMusic::getSoundsPath();
    EXPECT_EQ(sounds, FilePath::getDataFilesDir().path + "/sounds/");
    const std::string path = sounds + "music.ogg";

    testing::internal::CaptureStdout();
    { BackgroundMusic music; }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "vorbisfile: Loaded file: " + path + "\n");

    EXPECT_LT(readFile(path).size(), 1500u * 1024u);
    const Decoded decoded = decodeFirstStream(path);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.rate, 44100);
    EXPECT_GE(decoded.frames(), 40 * 44100);
    EXPECT_LE(decoded.frames(), 90 * 44100);
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
