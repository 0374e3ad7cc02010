#include "audio/PortAudioDevice.h"

#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "TestSupport.h"
#include "audio/PortAudioCallback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

// Writes silence and counts what it was given.
class CountingProducer : public PortAudioCallback {
public:
    void getAudio(float* input, float* output, int frames) override
    {
        if (input)
            sawInput.store(true);
        std::fill(output, output + 2 * frames, 0.0f);
        calls.fetch_add(1);
        totalFrames.fetch_add(frames);
    }

    bool waitForFrames(long frames) const
    {
        for (int tries = 0; tries < 500 && totalFrames.load() < frames; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return totalFrames.load() >= frames;
    }

    std::atomic<bool> sawInput{false};
    std::atomic<long> calls{0};
    std::atomic<long> totalFrames{0};
};

// ALSA's default device, for the whole program, is a sink that needs no
// sound card (ALSA reads the file once, at its first use).
class PortAudioDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        audiotest::keepAlsaPluginsLoaded();
        static TempDir home;
        home.write(".asoundrc", "pcm.!default { type file slave.pcm \"null\" file \"/dev/null\" format \"raw\" }\n");
        static ScopedEnv homeEnv("HOME", home.path());
    }

    void SetUp() override
    {
        device.setCallback(&producer);
        device.setAPI("ALSA");
    }

    // The device goes first, so the producer outlives its stream.
    CountingProducer producer;
    PortAudioDevice device;
};

TEST_F(PortAudioDeviceTest, SetAPIChoosesTheHostSystemByItsExactName)
{
    const std::pair<const char*, PaHostApiTypeId> cases[] = {
        {"DirectSound", paDirectSound}, {"ASIO", paASIO}, {"MME", paMME}, {"ALSA", paALSA}, {"JACK", paJACK},
        {"OSS", paOSS}, {"CoreAudio", paCoreAudio}, {"", paCoreAudio}, {"jack", paCoreAudio}, {"ALSA ", paCoreAudio},
    };
    EXPECT_EQ(PortAudioDevice().getHostApiType(), paCoreAudio);
    for (const auto& [name, type] : cases) {
        device.setAPI("JACK");
        device.setAPI(name);
        EXPECT_EQ(device.getHostApiType(), type) << '"' << name << '"';
    }
}

TEST_F(PortAudioDeviceTest, UnavailableHostSystemFallsBackToTheDefaultWithOneLineAndNoChatter)
{
    device.setNumChannels(0, 2);
    device.setSamplerate(44100);
    device.setAPI("");
    testing::internal::CaptureStderr();
    CoutCapture out;
    ASSERT_TRUE(device.start());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(out.text(), "PortAudioDevice: CoreAudio is not available, using ALSA.\n");
    EXPECT_EQ(device.getSamplerate(), 44100);
    EXPECT_TRUE(producer.waitForFrames(44100));
    EXPECT_FALSE(producer.sawInput.load()) << "a stream without input hands over no input";
}

TEST_F(PortAudioDeviceTest, SecondStartIsRefusedStopEndsTheCallbacksAndItStartsAgainAsNew)
{
    CoutCapture out;
    device.stop();
    EXPECT_FALSE(device.isStarted()) << "stop without start does nothing";
    ASSERT_TRUE(device.start());
    EXPECT_FALSE(device.start());
    EXPECT_TRUE(device.isStarted());
    EXPECT_TRUE(producer.waitForFrames(producer.totalFrames.load() + 44100)) << "the first stream still runs";
    device.stop();
    EXPECT_FALSE(device.isStarted());
    const long calls = producer.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(producer.calls.load(), calls);
    device.stop();
    EXPECT_TRUE(device.start());
    EXPECT_TRUE(producer.waitForFrames(producer.totalFrames.load() + 1024));
    EXPECT_EQ(out.text(), "");
}

TEST_F(PortAudioDeviceTest, NoOutputDeviceAtAllGivesTheOpenStreamMessageAndSilence)
{
    // ALSA's whole configuration replaced by one default that names a card
    // which is not there: no plugin device (JACK's, say) can stand in for it.
    TempDir soundless;
    ScopedEnv onlyAMissingCard("ALSA_CONFIG_PATH", soundless.write("alsa.conf", "pcm.!default { type hw card 7 }\n"));
    ScopedEnv homeWithoutDevices("HOME", soundless.path());
    CoutCapture out;
    EXPECT_FALSE(device.start());
    EXPECT_EQ(out.text(), "PortAudioDevice Error: Could not open stream.\n");
    EXPECT_FALSE(device.isStarted());
    EXPECT_EQ(producer.calls.load(), 0);
}

// Needs the JACK server of the test command (scripts/test-stages/jack.sh),
// which runs at 44100 Hz only.
TEST_F(PortAudioDeviceTest, RateTheJackServerDoesNotRunAtIsRefusedWithBothMessages)
{
    if (runCommand("jack_lsp > /dev/null 2>&1").status != 0)
        GTEST_SKIP() << "no JACK server is running";
    device.setSamplerate(22050);
    device.setAPI("JACK");
    CoutCapture out;
    EXPECT_FALSE(device.start());
    EXPECT_EQ(out.text(), "44100Hz samplerate not supported, using 48000Hz.\n"
                          "48000Hz not supported either?\n"
                          "PortAudioDevice Error: Could not open stream.\n");
    EXPECT_EQ(device.getSamplerate(), 48000);
    EXPECT_FALSE(device.isStarted());
}

} // namespace
