// Measures what the music costs: the decoding of one buffer, against the
// quarter second that buffer plays for, and the mixing of one game frame's
// worth of audio (30 ms) on the audio thread.
//   BrickVoyagerAudioBench [music.ogg]   (default: the game's own music)
#include "audio/BackgroundMusic.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Summary {
    double mean;
    double median;
    double worst;
};

Summary summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double total = 0.0;
    for (double t : times)
        total += t;
    return {total / times.size(), times[times.size() / 2], times.back()};
}

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : BackgroundMusic::getSoundsPath() + "music.ogg";
    auto music = std::make_unique<BackgroundMusic>(path);

    // Until a buffer is handed back the decoding thread only polls, so the
    // fills measured here run alone. 240 buffers are a minute of music, with
    // the loop's turn among them.
    const int fills = 240;
    std::vector<double> fillTimes;
    for (int i = 0; i < fills; ++i) {
        const Clock::time_point start = Clock::now();
        music->fillBuffer(i % BackgroundMusic::bufferCount);
        fillTimes.push_back(since(start));
    }
    const Summary fill = summarise(fillTimes);
    const double bufferMs = 1000.0 * BackgroundMusic::bufferFrames / 44100.0;
    std::printf("BrickVoyagerAudioBench: decoding one buffer (%d frames, %.0f ms of music): mean %.3f ms, "
                "median %.3f ms, worst %.3f ms; %.2f%% of its playing time on average\n",
                BackgroundMusic::bufferFrames, bufferMs, fill.mean, fill.median, fill.worst,
                100.0 * fill.mean / bufferMs);

    // One game frame is 30 ms: 1323 frames at 44100 Hz. The decoding thread
    // refills behind it meanwhile, as in the game.
    const int frameFrames = 1323;
    const int blocks = 20000;
    std::vector<float> block(2 * frameFrames);
    std::vector<double> blockTimes;
    for (int i = 0; i < blocks; ++i) {
        std::fill(block.begin(), block.end(), 0.0f);
        const Clock::time_point start = Clock::now();
        music->audioBlock(block.data(), frameFrames);
        blockTimes.push_back(since(start));
    }
    const Summary mix = summarise(blockTimes);
    std::printf("BrickVoyagerAudioBench: audioBlock for one game frame (%d frames, 30 ms of audio): mean %.2f us, "
                "median %.2f us, worst %.2f us; %.4f%% of the frame on average\n",
                frameFrames, 1000.0 * mix.mean, 1000.0 * mix.median, 1000.0 * mix.worst,
                100.0 * mix.mean / 30.0);
    return 0;
}
