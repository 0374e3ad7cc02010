#include "audio/portaudio/PortAudioDevice.h"

#include "audio/PortAudioCallback.h"
#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Writes silence and counts the frames it was asked for.
struct CountingProducer : PortAudioCallback {
    void getAudio(float*, float* output, int frames) override
    {
        std::fill(output, output + 2 * frames, 0.0f);
        totalFrames.fetch_add(frames);
    }

    // True once more than frames have been asked for, within five seconds.
    bool waitForMoreThan(long frames) const
    {
        for (int tries = 0; tries < 500 && totalFrames.load() <= frames; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return totalFrames.load() > frames;
    }

    std::atomic<long> totalFrames{0};
};

// ALSA's default device is a null sink in a home of the test's own, set up
// before PortAudio first asks ALSA for its devices (under Wine, the test
// command has made it so for the prefix).
class PortAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeNullSoundDevice(home.path());
        TestPlatform::keepAudioPluginsLoaded();
        device.setCallback(&producer);
    }

    TempDir home;
    ScopedEnv homeHere{"HOME", home.path()};

    // The device goes first, so the producer outlives its stream.
    CountingProducer producer;
    PortAudioDevice device;
};

// The host system this build lacks (CoreAudio, the default, as are two
// output channels at 44100 Hz) gives way to PortAudio's default with one line
// and none of the host libraries' chatter; a second start is refused, stop
// ends the callbacks and the device starts again as new.
TEST_F(PortAudioDeviceTest, UnavailableHostSystemFallsBackToTheDefaultAndTheStreamStopsAndStartsAgain)
{
    device.stop();  // without a start: nothing to stop
    testing::internal::CaptureStderr();
    CoutCapture out;
    ASSERT_TRUE(device.start());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(device.start());
    EXPECT_EQ(out.text(), std::string("PortAudioDevice: CoreAudio is not available, using ") +
                              TestPlatform::defaultAudioSystem() + ".\n");
    EXPECT_EQ(device.getSamplerate(), 44100);
    if (TestPlatform::isWine())
        GTEST_SKIP() << "Wine's audio over ALSA's null device stops asking after its first few buffers: "
                        "the stream's pace is for a real Windows machine to show";
    EXPECT_TRUE(producer.waitForMoreThan(44100)) << "the first stream still runs";
    device.stop();
    EXPECT_FALSE(device.isStarted());
    const long frames = producer.totalFrames.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(producer.totalFrames.load(), frames);
    EXPECT_TRUE(device.start());
    EXPECT_TRUE(producer.waitForMoreThan(frames + 1024));
}

TEST_F(PortAudioDeviceTest, NoOutputDeviceAtAllGivesTheOpenStreamMessage)
{
    if (TestPlatform::isWindows())
        GTEST_SKIP() << "ALSA's configuration is Linux's; Windows' audio systems take no such file";
    // ALSA's whole configuration replaced by one default that names a card
    // which is not there: no plugin device (JACK's, say) can stand in for it.
    TempDir soundless;
    ScopedEnv onlyAMissingCard("ALSA_CONFIG_PATH", soundless.write("alsa.conf", "pcm.!default { type hw card 7 }\n"));
    ScopedEnv homeWithoutDevices("HOME", soundless.path());
    device.setAPI("ALSA");
    CoutCapture out;
    EXPECT_FALSE(device.start());
    EXPECT_EQ(out.text(), "PortAudioDevice Error: Could not open stream.\n");
}

// Needs the JACK server of the test command (scripts/test-stages/jack.sh),
// which runs at 44100 Hz only.
TEST_F(PortAudioDeviceTest, RateTheJackServerDoesNotRunAtIsRefusedWithBothMessages)
{
    if (TestPlatform::isWindows())
        GTEST_SKIP() << "the JACK server of the test command serves Linux programs only";
    if (!jackRunning())
        GTEST_SKIP() << "no JACK server is running";
    device.setSamplerate(22050);
    device.setAPI("JACK");
    CoutCapture out;
    EXPECT_FALSE(device.start());
    EXPECT_EQ(out.text(), "44100Hz samplerate not supported, using 48000Hz.\n"
                          "48000Hz not supported either?\n"
                          "PortAudioDevice Error: Could not open stream.\n");
    EXPECT_EQ(device.getSamplerate(), 48000);
}

} // namespace
