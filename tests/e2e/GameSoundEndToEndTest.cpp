#include "GameProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

using namespace e2e;

namespace {

// The 16-bit samples of the one-channel PCM WAV file jack_rec writes;
// empty when the file is not one.
std::vector<float> readWav16(const std::string& path)
{
    const std::string bytes = readFile(path);
    std::vector<float> samples;
    const std::size_t data = bytes.find("data", 36);
    if (bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 || data == std::string::npos)
        return samples;
    auto u16 = [&](std::size_t at) {
        return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
    };
    const std::size_t end = std::min(bytes.size(), data + 8 + (u16(data + 4) | std::size_t(u16(data + 6)) << 16));
    for (std::size_t s = data + 8; s + 2 <= end && u16(22) == 1; s += 2)
        samples.push_back(std::int16_t(u16(s)) / 32768.0f);
    return samples;
}

} // namespace

// Needs a JACK server with its dummy driver, which plays in real time
// (scripts/test-stages/jack.sh starts one); skipped without a server.
TEST(GameSoundEndToEndTest, MusicRisesFromSilenceInTheOutput)
{
    if (!jackRunning())
        GTEST_SKIP() << "no JACK server is running";
    TempDir home;
    const std::string before = runCommand("jack_lsp 2>/dev/null").output;
    GameProcess game(home.path(), {"--windowed", "-w", "320", "-h", "240", "-aa", "JACK"});
    ASSERT_TRUE(game.startWithWindow());
    // The game's output ports: those of a client other than the server's
    // that were not there before.
    std::vector<std::string> ports;
    for (int tries = 0; tries < 300 && ports.size() < 2; ++tries) {
        ports.clear();
        std::istringstream now(runCommand("jack_lsp -p 2>/dev/null").output);
        for (std::string name, properties; std::getline(now, name) && std::getline(now, properties);)
            if (properties.find("output") != std::string::npos && name.rfind("system:", 0) != 0 &&
                before.find(name + "\n") == std::string::npos)
                ports.push_back(name);
        if (ports.size() < 2)
            sleepMs(50);
    }
    ASSERT_EQ(ports.size(), 2u) << game.output();

    // The left channel is enough to hear the music rise.
    const std::string wav = home.path() + "/music.wav";
    const CommandResult record = runCommand("jack_rec -f '" + wav + "' -d 5 -b 16 " + ports[0] + " 2>&1");
    ASSERT_EQ(record.status, 0) << record.output;
    game.signal(SIGTERM);
    EXPECT_EQ(game.wait(), 0) << game.output();

    const std::vector<float> samples = readWav16(wav);
    const std::size_t second = 44100;
    ASSERT_GE(samples.size(), 4 * second);
    const auto rms = [&samples](std::size_t from, std::size_t to) {
        double sum = 0.0;
        for (std::size_t i = from; i < to; ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(to - from));
    };
    // The fade-in grows the level linearly from nothing over about 23 s, so
    // each second of the recording is louder than the one before it, and
    // the first moments are far quieter than the last (how quiet depends on
    // how long a busy machine took to start the recording).
    std::vector<double> levels;
    std::ostringstream seen;
    for (std::size_t s = 0; s < samples.size() / second; ++s) {
        levels.push_back(rms(s * second, (s + 1) * second));
        seen << levels.back() << " ";
    }
    EXPECT_GT(levels.front(), 0.0) << seen.str();
    EXPECT_LT(rms(0, second / 20), 0.5 * levels.back()) << seen.str();
    EXPECT_GT(levels.back(), 1.5 * levels.front()) << seen.str();
    for (std::size_t s = 1; s < levels.size(); ++s)
        EXPECT_GT(levels[s], 0.8 * levels[s - 1]) << "second " << s << ": " << seen.str();
}
