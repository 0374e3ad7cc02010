#include "MusicLevel.h"

#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <thread>

using namespace audiotest;

namespace {

// Real decoded music through what Application::getAudio does with it: a
// cleared block, the music added, then the player's level applied. Beside it,
// the model of what the music alone gives, frame for frame.
class MusicLevelTest : public ::testing::Test {
protected:
    // Plays frames and returns them with the model's frames at full level.
    void play(long frames, std::vector<float>& output, std::vector<float>& alone)
    {
        const int blockFrames = 256;
        output.assign(2 * frames, 0.0f);
        alone.assign(2 * frames, 0.0f);
        for (long done = 0; done < frames; done += blockFrames) {
            const int count = static_cast<int>(std::min<long>(blockFrames, frames - done));
            EXPECT_TRUE(waitUntilReady(*music, (music->getCurrentBuffer() + 1) % BackgroundMusic::bufferCount));
            music->audioBlock(output.data() + 2 * done, count);
            level.apply(output.data() + 2 * done, count);
        }
        for (long frame = 0; frame < frames; ++frame)
            model.next(alone[2 * frame], alone[2 * frame + 1]);
    }

    // Presses a key and returns what it printed.
    std::string press(SDLKey key)
    {
        CoutCapture out;
        EXPECT_TRUE(level.keyDown(key)) << SDL_GetKeyName(key);
        return out.text();
    }

    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(3 * 44100 + 777)});
    const Decoded decoded = decodeFirstStream(path);
    std::unique_ptr<BackgroundMusic> music = std::make_unique<BackgroundMusic>(path);
    MusicModel model{decoded};
    MusicLevel level;
};

// The gain that best maps the music alone onto the output, and how far the
// output strays from that gain anywhere.
struct Fit {
    double gain = 0.0;
    double worst = 0.0;
};

Fit fit(const std::vector<float>& output, const std::vector<float>& alone)
{
    double cross = 0.0;
    double power = 0.0;
    for (std::size_t i = 0; i < output.size(); ++i) {
        cross += double(output[i]) * alone[i];
        power += double(alone[i]) * alone[i];
    }
    Fit result;
    result.gain = power > 0.0 ? cross / power : 0.0;
    for (std::size_t i = 0; i < output.size(); ++i)
        result.worst = std::max(result.worst, std::fabs(output[i] - result.gain * alone[i]));
    return result;
}

// The largest change from one sample to the next of either channel.
float largestStep(const std::vector<float>& block)
{
    float largest = 0.0f;
    for (std::size_t i = 2; i < block.size(); ++i)
        largest = std::max(largest, std::fabs(block[i] - block[i - 2]));
    return largest;
}

} // namespace

TEST_F(MusicLevelTest, MinusAndPlusStepTenLevelsAndMMutes)
{
    struct Step {
        SDLKey key;
        const char* line;
        int level;  // -1: muted
    };
    const std::vector<Step> steps = {
        {SDLK_m, "Music: muted\n", -1},     {SDLK_m, "Music: 10 of 10\n", 10},
        {SDLK_MINUS, "Music: 9 of 10\n", 9}, {SDLK_KP_MINUS, "Music: 8 of 10\n", 8},
        {SDLK_MINUS, "Music: 7 of 10\n", 7}, {SDLK_MINUS, "Music: 6 of 10\n", 6},
        {SDLK_MINUS, "Music: 5 of 10\n", 5}, {SDLK_MINUS, "Music: 4 of 10\n", 4},
        {SDLK_m, "Music: muted\n", -1},      {SDLK_MINUS, "Music: 3 of 10\n", 3},
        {SDLK_MINUS, "Music: 2 of 10\n", 2}, {SDLK_MINUS, "Music: 1 of 10\n", 1},
        {SDLK_MINUS, "Music: 0 of 10\n", 0}, {SDLK_MINUS, "Music: 0 of 10\n", 0},
        {SDLK_PLUS, "Music: 1 of 10\n", 1},  {SDLK_EQUALS, "Music: 2 of 10\n", 2},
        {SDLK_KP_PLUS, "Music: 3 of 10\n", 3}, {SDLK_EQUALS, "Music: 4 of 10\n", 4},
        {SDLK_EQUALS, "Music: 5 of 10\n", 5}, {SDLK_EQUALS, "Music: 6 of 10\n", 6},
        {SDLK_EQUALS, "Music: 7 of 10\n", 7}, {SDLK_EQUALS, "Music: 8 of 10\n", 8},
        {SDLK_EQUALS, "Music: 9 of 10\n", 9}, {SDLK_EQUALS, "Music: 10 of 10\n", 10},
        {SDLK_PLUS, "Music: 10 of 10\n", 10},
    };
    std::vector<float> output;
    std::vector<float> alone;
    play(1000, output, alone);
    const Fit asMixed = fit(output, alone);
    EXPECT_NEAR(asMixed.gain, 1.0, 1e-6) << "level 10 is the music as mixed";
    EXPECT_LT(asMixed.worst, 1e-6);

    std::map<int, double> gains;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        EXPECT_EQ(press(step.key), step.line);
        if (step.level >= 0) {
            EXPECT_EQ(level.getLevel(), step.level);
        }
        EXPECT_EQ(level.isMuted(), step.level < 0);
        play(MusicLevel::rampFrames, output, alone);
        play(1500, output, alone);
        const Fit measured = fit(output, alone);
        EXPECT_LT(measured.worst, 1e-6) << "not one steady gain once the glide is over";
        if (step.level < 0 || step.level == 0) {
            EXPECT_EQ(*std::max_element(output.begin(), output.end()), 0.0f);
            EXPECT_EQ(*std::min_element(output.begin(), output.end()), 0.0f);
        }
        if (step.level >= 0) {
            if (gains.count(step.level)) {
                EXPECT_NEAR(measured.gain, gains[step.level], 1e-5) << "the same level sounds different";
            }
            gains[step.level] = measured.gain;
        }
    }
    ASSERT_EQ(gains.size(), 11u);
    EXPECT_NEAR(gains[10], 1.0, 1e-6);
    for (int step = 1; step <= 10; ++step)
        EXPECT_GT(gains[step], gains[step - 1] * 1.1) << "level " << step << " is not louder";
    EXPECT_FALSE(level.keyDown(SDLK_UP));
}

TEST_F(MusicLevelTest, ChangesGlideWithoutAStepLargerThanTheMusicsOwn)
{
    const std::vector<std::vector<SDLKey>> changes = {
        {SDLK_m}, {SDLK_m}, {SDLK_MINUS}, {SDLK_MINUS, SDLK_MINUS, SDLK_MINUS, SDLK_MINUS},
        {SDLK_PLUS, SDLK_PLUS, SDLK_PLUS, SDLK_PLUS, SDLK_PLUS}, {SDLK_m}, {SDLK_PLUS},
    };
    std::vector<float> output;
    std::vector<float> alone;
    // The fade-in has made the music audible by now.
    play(20000, output, alone);
    for (const std::vector<SDLKey>& keys : changes) {
        SCOPED_TRACE(SDL_GetKeyName(keys[0]));
        std::vector<float> before;
        std::vector<float> aloneBefore;
        play(500, before, aloneBefore);
        for (SDLKey key : keys)
            press(key);
        // Every block from here on starts its glide at a different point.
        play(MusicLevel::rampFrames + 1000, output, alone);
        output.insert(output.begin(), before.begin(), before.end());
        alone.insert(alone.begin(), aloneBefore.begin(), aloneBefore.end());
        const float own = largestStep(alone);
        ASSERT_GT(own, 0.0f);
        EXPECT_LE(largestStep(output), own * 1.01f);
    }
}

// The player presses keys on the main thread while the audio thread plays at
// a real device's pace; run under ThreadSanitizer too, where any access to
// the level that is not handed over atomically is a reported race.
TEST_F(MusicLevelTest, KeysOnTheMainThreadReachTheAudioThreadWithoutALock)
{
    const long tail = 44100 * 3 / 10;
    const long most = 10 * 44100;
    const int blockFrames = 512;
    std::vector<float> output(2 * most, 0.0f);
    std::atomic<long> played{0};
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        const auto start = std::chrono::steady_clock::now();
        long end = most;
        for (long done = 0; done < end; done += blockFrames) {
            std::this_thread::sleep_until(
                start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(static_cast<double>(done) / 44100.0)));
            if (stop.load() && end == most)
                end = std::min(most, done + tail);
            const int count = static_cast<int>(std::min<long>(blockFrames, end - done));
            music->audioBlock(output.data() + 2 * done, count);
            level.apply(output.data() + 2 * done, count);
            played.store(done + count);
        }
    });
    const long untouched = 44100 / 5;
    while (played.load() < untouched)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int step = 0; step < 10; ++step) {
        press(SDLK_MINUS);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    press(SDLK_m);
    stop.store(true);
    audio.join();

    // Before the first key the music is as mixed; the tail played after the
    // mute, less its glide, is silent.
    const long frames = played.load();
    output.resize(2 * frames);
    std::vector<float> alone;
    std::vector<float> head;
    for (long frame = 0; frame < untouched; ++frame) {
        float left = 0.0f;
        float right = 0.0f;
        model.next(left, right);
        alone.insert(alone.end(), {left, right});
    }
    head.assign(output.begin(), output.begin() + 2 * untouched);
    const Fit start = fit(head, alone);
    EXPECT_NEAR(start.gain, 1.0, 1e-6);
    EXPECT_LT(start.worst, 1e-6);
    const long silent = frames - tail + MusicLevel::rampFrames + blockFrames;
    EXPECT_TRUE(std::all_of(output.begin() + 2 * silent, output.end(), [](float s) { return s == 0.0f; }));
}
