#include "audio/PortAudioDevice.h"

#include "AudioTestSupport.h"
#include "TestSupport.h"
#include "audio/BackgroundMusic.h"
#include "audio/PortAudioCallback.h"

#include <gtest/gtest.h>

#include <jack/jack.h>
#include <pa_jack.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace audiotest;

// These tests need a JACK server with the dummy driver at 44100 Hz, which
// paces the stream in real time (scripts/test-stages/jack.sh starts one);
// without a server they are skipped.
namespace {

// The JACK client library, looked up at run time as the device does, so that
// the tests need no link to it.
struct JackLibrary {
    bool load()
    {
        library = dlopen("libjack.so.0", RTLD_NOW);
        if (!library)
            return false;
        clientOpen = reinterpret_cast<decltype(clientOpen)>(dlsym(library, "jack_client_open"));
        clientClose = reinterpret_cast<decltype(clientClose)>(dlsym(library, "jack_client_close"));
        portRegister = reinterpret_cast<decltype(portRegister)>(dlsym(library, "jack_port_register"));
        portGetBuffer = reinterpret_cast<decltype(portGetBuffer)>(dlsym(library, "jack_port_get_buffer"));
        portName = reinterpret_cast<decltype(portName)>(dlsym(library, "jack_port_name"));
        setProcessCallback =
            reinterpret_cast<decltype(setProcessCallback)>(dlsym(library, "jack_set_process_callback"));
        activate = reinterpret_cast<decltype(activate)>(dlsym(library, "jack_activate"));
        deactivate = reinterpret_cast<decltype(deactivate)>(dlsym(library, "jack_deactivate"));
        getPorts = reinterpret_cast<decltype(getPorts)>(dlsym(library, "jack_get_ports"));
        connect = reinterpret_cast<decltype(connect)>(dlsym(library, "jack_connect"));
        setXrunCallback = reinterpret_cast<decltype(setXrunCallback)>(dlsym(library, "jack_set_xrun_callback"));
        release = reinterpret_cast<decltype(release)>(dlsym(library, "jack_free"));
        return clientOpen && clientClose && portRegister && portGetBuffer && portName
               && setProcessCallback && activate && deactivate && getPorts && connect && release
               && setXrunCallback;
    }
    ~JackLibrary()
    {
        if (library)
            dlclose(library);
    }

    void* library = nullptr;
    decltype(&jack_client_open) clientOpen = nullptr;
    decltype(&jack_client_close) clientClose = nullptr;
    decltype(&jack_port_register) portRegister = nullptr;
    decltype(&jack_port_get_buffer) portGetBuffer = nullptr;
    decltype(&jack_port_name) portName = nullptr;
    decltype(&jack_set_process_callback) setProcessCallback = nullptr;
    decltype(&jack_activate) activate = nullptr;
    decltype(&jack_deactivate) deactivate = nullptr;
    decltype(&jack_get_ports) getPorts = nullptr;
    decltype(&jack_connect) connect = nullptr;
    decltype(&jack_free) release = nullptr;
    decltype(&jack_set_xrun_callback) setXrunCallback = nullptr;
};

// A JACK client with two input ports that records everything they receive.
class Recorder {
public:
    static constexpr long capacity = 12 * 44100;

    explicit Recorder(JackLibrary& jack) : jack(jack) {}
    ~Recorder()
    {
        if (client) {
            jack.deactivate(client);
            jack.clientClose(client);
        }
    }

    bool open()
    {
        jack_status_t status;
        client = jack.clientOpen("bv-recorder", JackNoStartServer, &status);
        if (!client)
            return false;
        for (int side = 0; side < 2; ++side)
            ports[side] = jack.portRegister(client, side == 0 ? "left" : "right",
                                            JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack.setProcessCallback(client, &Recorder::process, this);
        jack.setXrunCallback(client, &Recorder::xrun, this);
        return ports[0] && ports[1] && jack.activate(client) == 0;
    }

    // Connects the first two output ports of the client named prefix.
    bool connectFrom(const std::string& prefix)
    {
        const char** outputs =
            jack.getPorts(client, ("^" + prefix).c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
        int connected = 0;
        for (int side = 0; outputs && outputs[side] && side < 2; ++side)
            connected += jack.connect(client, outputs[side], jack.portName(ports[side])) == 0;
        if (outputs)
            jack.release(outputs);
        return connected == 2;
    }

    void close()
    {
        jack.deactivate(client);
        jack.clientClose(client);
        client = nullptr;
    }

    std::vector<float> left = std::vector<float>(capacity);
    std::vector<float> right = std::vector<float>(capacity);
    std::atomic<long> frames{0};
    // The server missed a deadline: some block never reached anyone, for
    // reasons of the machine's load rather than of the stream.
    std::atomic<int> xruns{0};

private:
    static int xrun(void* self)
    {
        static_cast<Recorder*>(self)->xruns.fetch_add(1);
        return 0;
    }

    static int process(jack_nframes_t count, void* self)
    {
        auto* recorder = static_cast<Recorder*>(self);
        const auto* left = static_cast<const float*>(recorder->jack.portGetBuffer(recorder->ports[0], count));
        const auto* right = static_cast<const float*>(recorder->jack.portGetBuffer(recorder->ports[1], count));
        const long at = recorder->frames.load(std::memory_order_relaxed);
        const long take = std::min<long>(count, capacity - at);
        std::copy(left, left + take, recorder->left.begin() + at);
        std::copy(right, right + take, recorder->right.begin() + at);
        recorder->frames.store(at + take, std::memory_order_release);
        return 0;
    }

    JackLibrary& jack;
    jack_client_t* client = nullptr;
    jack_port_t* ports[2] = {nullptr, nullptr};
};

// What the game's Application does for each block: clear it, add the music.
class GameLikeProducer : public PortAudioCallback {
public:
    explicit GameLikeProducer(BackgroundMusic& music) : music(music) {}
    void getAudio(float*, float* output, int frames) override
    {
        std::fill(output, output + 2 * frames, 0.0f);
        music.audioBlock(output, frames);
    }

private:
    BackgroundMusic& music;
};

class PortAudioDeviceJackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        keepAlsaPluginsLoaded();
        if (!jack.load())
            GTEST_SKIP() << "the JACK library is not installed";
        recorder = std::make_unique<Recorder>(jack);
        if (!recorder->open())
            GTEST_SKIP() << "no JACK server is running";
    }

    bool playAndCompare();

    JackLibrary jack;
    std::unique_ptr<Recorder> recorder;
};

// One recording of the music through the device; false when the server
// reported an overrun during it, which says nothing about the stream.
bool PortAudioDeviceJackTest::playAndCompare()
{
    TempDir dir;
    const std::string path = writeMusic(dir.path() + "/music.ogg", {glide(2 * 44100 + 3333)});
    const Decoded decoded = decodeFirstStream(path);
    auto music = std::make_unique<BackgroundMusic>(path);
    GameLikeProducer producer(*music);
    PortAudioDevice device;
    device.setCallback(&producer);
    device.setNumChannels(0, 2);
    device.setSamplerate(44100);
    device.setAPI("JACK");
    // A client name of this process's own, so that the recording can never
    // pick up another program's stream on a shared server. PortAudio keeps
    // the pointer, hence the static.
    static const std::string clientName = "bv-device-" + std::to_string(getpid());
    PaJack_SetClientName(clientName.c_str());

    testing::internal::CaptureStdout();
    const bool started = device.start();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(started);
    if (!started)
        return true;
    EXPECT_TRUE(recorder->connectFrom(clientName + ":"));
    std::this_thread::sleep_for(std::chrono::seconds(4));
    device.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    recorder->close();
    if (recorder->xruns.load() > 0)
        return false;

    // The recording begins some blocks into the music, when the ports were
    // connected, and ends in silence once the stream stopped.
    const long recorded = recorder->frames.load(std::memory_order_acquire);
    const std::vector<float>& left = recorder->left;
    const std::vector<float>& right = recorder->right;
    long first = 0;
    while (first < recorded && left[first] == 0.0f && right[first] == 0.0f)
        ++first;
    long last = recorded - 1;
    while (last > first && left[last] == 0.0f && right[last] == 0.0f)
        --last;
    EXPECT_GT(last - first, 3 * 44100) << "less than three seconds were heard";
    if (last - first <= 3 * 44100)
        return true;

    const long span = last - first + 1;
    const long searched = 2 * 44100;
    std::vector<float> expected(2 * (searched + span));
    MusicModel model(decoded);
    for (size_t frame = 0; frame < expected.size() / 2; ++frame)
        model.next(expected[2 * frame], expected[2 * frame + 1]);
    long start = -1;
    for (long k = 0; k < searched && start < 0; ++k) {
        bool same = true;
        for (long j = 0; j < 64 && same; ++j)
            same = expected[2 * (k + j)] == left[first + j] && expected[2 * (k + j) + 1] == right[first + j];
        if (same)
            start = k;
    }
    EXPECT_GE(start, 0) << "the first frames heard are not the music's";
    if (start < 0)
        return true;

    long mismatches = 0;
    long firstMismatch = -1;
    for (long j = 0; j < span; ++j) {
        if (expected[2 * (start + j)] != left[first + j] || expected[2 * (start + j) + 1] != right[first + j]) {
            if (mismatches++ == 0)
                firstMismatch = j;
        }
    }
    EXPECT_EQ(mismatches, 0) << "first at frame " << firstMismatch << " of " << span;
    return true;
}

TEST_F(PortAudioDeviceJackTest, MusicPlaysThroughJackInRealTimeWithoutGapOrRepeat)
{
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (playAndCompare())
            return;
        recorder = std::make_unique<Recorder>(jack);
        ASSERT_TRUE(recorder->open());
    }
    FAIL() << "the JACK server overran in every attempt: the machine could not keep real time";
}

TEST_F(PortAudioDeviceJackTest, RateTheServerDoesNotRunAtIsRefusedWithBothMessages)
{
    PortAudioDevice device;
    device.setSamplerate(22050);
    device.setAPI("JACK");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(device.start());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "44100Hz samplerate not supported, using 48000Hz.\n"
              "48000Hz not supported either?\n"
              "PortAudioDevice Error: Could not open stream.\n");
    EXPECT_EQ(device.getSamplerate(), 48000);
    EXPECT_FALSE(device.isStarted());
}

} // namespace
