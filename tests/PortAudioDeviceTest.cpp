#include "audio/PortAudioDevice.h"

#include "audio/PortAudioCallback.h"
#include "AudioTestSupport.h"
#include "TestSupport.h"

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
        home = std::make_unique<TempDir>();
        home->write(".asoundrc",
                    "pcm.!default { type file slave.pcm \"null\" file \"/dev/null\" format \"raw\" }\n");
        homeEnv = std::make_unique<ScopedEnv>("HOME", home->path());
    }
    static void TearDownTestSuite()
    {
        homeEnv.reset();
        home.reset();
    }

    void SetUp() override
    {
        device.setCallback(&producer);
        device.setAPI("ALSA");
    }

    static std::unique_ptr<TempDir> home;
    static std::unique_ptr<ScopedEnv> homeEnv;
    // The device goes first, so the producer outlives its stream.
    CountingProducer producer;
    PortAudioDevice device;
};
std::unique_ptr<TempDir> PortAudioDeviceTest::home;
std::unique_ptr<ScopedEnv> PortAudioDeviceTest::homeEnv;

TEST_F(PortAudioDeviceTest, SetAPIChoosesTheHostSystemByItsExactName)
{
    const struct {
        const char* name;
        PaHostApiTypeId type;
    } cases[] = {
        {"DirectSound", paDirectSound}, {"ASIO", paASIO},         {"MME", paMME},
        {"ALSA", paALSA},               {"JACK", paJACK},         {"OSS", paOSS},
        {"CoreAudio", paCoreAudio},     {"", paCoreAudio},        {"coreaudio", paCoreAudio},
        {"jack", paCoreAudio},          {"ALSA ", paCoreAudio},   {"PulseAudio", paCoreAudio},
    };
    EXPECT_EQ(PortAudioDevice().getHostApiType(), paCoreAudio);
    for (const auto& c : cases) {
        device.setAPI("JACK");
        device.setAPI(c.name);
        EXPECT_EQ(device.getHostApiType(), c.type) << '"' << c.name << '"';
    }
}

TEST_F(PortAudioDeviceTest, UnavailableHostSystemFallsBackToTheDefaultWithOneLineAndNoChatter)
{
    device.setNumChannels(0, 2);
    device.setSamplerate(44100);
    device.setAPI("");

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool started = device.start();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    EXPECT_EQ(out, "PortAudioDevice: CoreAudio is not available, using ALSA.\n");
    EXPECT_EQ(err, "");
    EXPECT_TRUE(device.isStarted());
    EXPECT_EQ(device.getSamplerate(), 44100);

    EXPECT_TRUE(producer.waitForFrames(44100));
    EXPECT_FALSE(producer.sawInput.load()) << "a stream without input hands over no input";
    device.stop();
    EXPECT_FALSE(device.isStarted());
}

TEST_F(PortAudioDeviceTest, SecondStartIsRefusedAndStopEndsTheCallbacks)
{
    testing::internal::CaptureStdout();
    ASSERT_TRUE(device.start());
    EXPECT_FALSE(device.start());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(device.isStarted());

    // The first stream still runs.
    const long before = producer.totalFrames.load();
    EXPECT_TRUE(producer.waitForFrames(before + 44100));

    device.stop();
    EXPECT_FALSE(device.isStarted());
    const long calls = producer.calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(producer.calls.load(), calls);
    device.stop();

    // And it starts again as new.
    EXPECT_TRUE(device.start());
    EXPECT_TRUE(producer.waitForFrames(producer.totalFrames.load() + 1024));
}

TEST_F(PortAudioDeviceTest, NoOutputDeviceAtAllGivesTheOpenStreamMessageAndSilence)
{
    // ALSA's whole configuration replaced by one default that names a card
    // which is not there: no plugin device (JACK's, say) can stand in for it.
    TempDir soundless;
    const std::string config = soundless.write("alsa.conf", "pcm.!default { type hw card 7 }\n");
    ScopedEnv onlyAMissingCard("ALSA_CONFIG_PATH", config);
    ScopedEnv homeWithoutDevices("HOME", soundless.path());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(device.start());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "PortAudioDevice Error: Could not open stream.\n");
    EXPECT_FALSE(device.isStarted());
    device.stop();
    EXPECT_EQ(producer.calls.load(), 0);
}

TEST_F(PortAudioDeviceTest, StopWithoutStartDoesNothing)
{
    testing::internal::CaptureStdout();
    device.stop();
    device.stop();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(device.isStarted());
}

} // namespace
