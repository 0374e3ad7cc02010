#include "audio/MusicLevel.h"

#include "CoutCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

std::string press(MusicLevel& level, SDLKey key)
{
    CoutCapture out;
    EXPECT_TRUE(level.keyDown(key)) << SDL_GetKeyName(key);
    return out.text();
}

} // namespace

// Each key's line, and the gain the level settles at: the square of its
// tenth, so that the steps sound even. Every change glides from the gain of
// the moment, even one made in the middle of another's glide, so that a tone
// through the level (left) never steps further from one sample to the next
// than the tone itself does, nor a steady signal (right) further than a
// tone's step.
TEST(MusicLevelTest, MinusAndPlusStepTenLevelsAndMMutesGlidingWithoutAStep)
{
    const int muted = -1;
    const int midGlide = 500;  // frames until the next key, less than a glide
    const struct {
        SDLKey key;
        int level;
        int frames = MusicLevel::rampFrames + 100;
    } steps[] = {
        {SDLK_m, muted},       {SDLK_m, 10, midGlide}, {SDLK_MINUS, 9},  {SDLK_KP_MINUS, 8},        {SDLK_MINUS, 7},
        {SDLK_m, muted},       {SDLK_MINUS, 6},        {SDLK_MINUS, 5, midGlide},                   {SDLK_MINUS, 4},
        {SDLK_MINUS, 3},       {SDLK_MINUS, 2},        {SDLK_MINUS, 1},  {SDLK_MINUS, 0},           {SDLK_MINUS, 0},
        {SDLK_m, muted, midGlide},                     {SDLK_PLUS, 1},   {SDLK_EQUALS, 2},          {SDLK_KP_PLUS, 3},
        {SDLK_EQUALS, 4},      {SDLK_EQUALS, 5},       {SDLK_EQUALS, 6}, {SDLK_EQUALS, 7},          {SDLK_EQUALS, 8},
        {SDLK_EQUALS, 9},      {SDLK_EQUALS, 10, midGlide},              {SDLK_m, muted, midGlide}, {SDLK_PLUS, 10},
    };
    MusicLevel level;
    std::vector<float> played;
    for (const auto& step : steps) {
        const std::string line = step.level == muted ? "Music: muted\n" : "Music: " + std::to_string(step.level) + " of 10\n";
        EXPECT_EQ(press(level, step.key), line);
        EXPECT_EQ(level.isMuted(), step.level == muted) << line;
        EXPECT_TRUE(step.level == muted || level.getLevel() == step.level) << line;
        for (int done = 0; done < step.frames; done += 100) {
            const std::size_t at = played.size();
            for (std::size_t frame = at / 2; frame < at / 2 + 100; ++frame)
                played.insert(played.end(), {0.5f * static_cast<float>(std::sin(2 * M_PI * 277 * frame / 44100.0)), 0.5f});
            level.apply(played.data() + at, 100);
        }
        const float settled = step.level == muted ? 0.0f : step.level * step.level / 200.0f;
        EXPECT_TRUE(step.frames < MusicLevel::rampFrames || std::fabs(played.back() - settled) < 1e-6f) << line;
    }
    EXPECT_FALSE(level.keyDown(SDLK_UP));
    EXPECT_GT(played[1], 0.49f) << "the first glide starts from the music as mixed";
    float largestStep = 0.0f;  // of either channel, from one sample to the next
    for (std::size_t i = 2; i < played.size(); ++i)
        largestStep = std::max(largestStep, std::fabs(played[i] - played[i - 2]));
    EXPECT_LE(largestStep, 0.5f * 2 * M_PI * 277 / 44100 * 1.01f);
}

// The player presses keys on the main thread while the audio thread plays;
// run under ThreadSanitizer too, where any access to the level that is not
// handed over atomically is a reported race.
TEST(MusicLevelTest, KeysOnTheMainThreadReachTheAudioThreadWithoutALock)
{
    MusicLevel level;
    const std::vector<float> silence(2 * 256, 0.0f);
    std::vector<float> block;
    std::thread audio([&] {
        for (int blocks = 0; block != silence && blocks < 10000; ++blocks) {
            block.assign(2 * 256, 1.0f);
            level.apply(block.data(), 256);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int step = 0; step < 5; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        press(level, SDLK_MINUS);
    }
    press(level, SDLK_m);
    audio.join();
    EXPECT_EQ(block, silence) << "the mute never reached both sides of the audio thread";
}
