#include "GameProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <sstream>

using namespace e2e;
namespace fs = std::filesystem;

namespace {

// The interleaved 16-bit samples of a PCM WAV file as floats; empty when the
// file is not one.
std::vector<float> readWav16(const std::string& path, int& channels)
{
    const std::string bytes = readFile(path);
    std::vector<float> samples;
    auto u16 = [&](std::size_t at) { return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8); };
    auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16; };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return samples;
    int bits = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = u32(at + 4);
        if (id == "fmt ") {
            channels = u16(at + 10);
            bits = u16(at + 22);
        } else if (id == "data" && bits == 16) {
            const std::size_t end = std::min(bytes.size(), at + 8 + size);
            for (std::size_t s = at + 8; s + 2 <= end; s += 2)
                samples.push_back(std::int16_t(u16(s)) / 32768.0f);
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return samples;
}

// The game's JACK output ports: those of a client other than the server's
// that appeared since before lists all ports.
std::vector<std::string> newOutputPorts(const std::string& before)
{
    std::vector<std::string> ports;
    std::istringstream now(runCommand("jack_lsp -p 2>/dev/null").output);
    std::string name;
    std::string properties;
    while (std::getline(now, name) && std::getline(now, properties)) {
        if (properties.find("output") != std::string::npos && name.rfind("system:", 0) != 0 &&
            before.find(name + "\n") == std::string::npos)
            ports.push_back(name);
    }
    return ports;
}

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
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
    std::vector<std::string> ports;
    for (int tries = 0; tries < 300 && ports.size() < 2; ++tries) {
        ports = newOutputPorts(before);
        if (ports.size() < 2)
            sleepMs(50);
    }
    ASSERT_EQ(ports.size(), 2u) << game.output();

    const std::string wav = home.path() + "/music.wav";
    const CommandResult record =
        runCommand("jack_rec -f '" + wav + "' -d 5 -b 16 " + ports[0] + " " + ports[1] + " 2>&1");
    ASSERT_EQ(record.status, 0) << record.output;
    game.focus();
    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();

    int channels = 0;
    const std::vector<float> samples = readWav16(wav, channels);
    ASSERT_EQ(channels, 2);
    const std::size_t second = 2 * 44100;
    ASSERT_GE(samples.size(), 4 * second);
    // The fade-in grows the level linearly from nothing over about 23 s, so
    // each second of the recording is louder than the one before it, and
    // the first moments are all but silent.
    std::vector<double> levels;
    for (std::size_t s = 0; s + 1 <= samples.size() / second; ++s)
        levels.push_back(rms(samples, s * second, (s + 1) * second));
    std::ostringstream seen;
    for (double level : levels)
        seen << level << " ";
    std::cout << "GameSoundEndToEndTest: level of each second: " << seen.str() << std::endl;
    EXPECT_GT(levels.front(), 0.0) << seen.str();
    EXPECT_LT(rms(samples, 0, second / 20), 0.002) << seen.str();
    EXPECT_GT(levels.back(), 1.5 * levels.front()) << seen.str();
    for (std::size_t s = 1; s < levels.size(); ++s)
        EXPECT_GT(levels[s], 0.8 * levels[s - 1]) << "second " << s << ": " << seen.str();
}

// ALSA's default device is a file here: opening a stream makes the file.
TEST(GameSoundEndToEndTest, NoSoundOpensNoStream)
{
    for (const bool sound : {false, true}) {
        SCOPED_TRACE(sound ? "with sound" : "with --nosound");
        TempDir home;
        const std::string captured = home.path() + "/captured.raw";
        home.write(".asoundrc", "pcm.!default { type file slave.pcm \"null\" file \"" + captured +
                                    "\" format \"raw\" }\n");
        PrivateDisplay display;
        ASSERT_FALSE(display.name.empty());
        std::string command = "DISPLAY=" + display.name + " HOME='" + home.path() +
                              "' SDL_VIDEODRIVER=x11 timeout --preserve-status -s TERM 4 " +
                              // The file device takes samples as fast as they come: keep
                              // the file small.
                              "bash -c \"trap '' XFSZ; ulimit -f 256; exec '" BV_GAME_PATH
                              "' --windowed -w 320 -h 240 -aa ALSA";
        command += sound ? "\"" : " --nosound\"";
        const CommandResult run = runCommand("env -u XDG_CONFIG_HOME " + command + " 2>&1");
        // The window may be refused now and then; the stream comes after it.
        if (run.output.find("Could not open a window") != std::string::npos)
            continue;
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(fs::exists(captured), sound) << run.output;
        if (sound)
            std::cout << "GameSoundEndToEndTest: the stream wrote " << fs::file_size(captured)
                      << " bytes" << std::endl;
    }
}
