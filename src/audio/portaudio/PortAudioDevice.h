#pragma once

#include <portaudio.h>

#include <string>

class PortAudioCallback;

// One PortAudio output stream of 32-bit float samples, fed block by block by a
// PortAudioCallback on PortAudio's thread. Every failure to start is printed as
// one line and leaves the device idle, so the game simply runs without sound;
// nothing here throws. start, stop and the destructor belong to one thread.
class PortAudioDevice {
public:
    PortAudioDevice() = default;
    ~PortAudioDevice();
    PortAudioDevice(const PortAudioDevice&) = delete;
    PortAudioDevice& operator=(const PortAudioDevice&) = delete;

    // The producer is handed to PortAudio when the stream opens; it must
    // outlive the running stream.
    void setCallback(PortAudioCallback* producer);
    void setNumChannels(int inputs, int outputs);
    // Hertz; start may replace it with 48000 when the device refuses it.
    void setSamplerate(double rate);
    // Selects the host audio system by its exact name; any other text,
    // the empty one included, selects CoreAudio.
    void setAPI(const std::string& name);

    // Opens and starts the stream; true when it runs. False when it already
    // runs, and after any failure (which is printed).
    bool start();
    // Stops and closes a running stream; does nothing when none runs.
    void stop();

    double getSamplerate() const { return sampleRate; }
    bool isStarted() const { return started; }

    static int portAudioCallback(const void* input, void* output, unsigned long frames,
                                 const PaStreamCallbackTimeInfo* timeInfo,
                                 PaStreamCallbackFlags statusFlags, void* userData);

private:
    PaStream* stream = nullptr;
    PortAudioCallback* callback = nullptr;
    int inputChannels = 0;
    int outputChannels = 2;
    double sampleRate = 44100;
    PaHostApiTypeId hostApiType = paCoreAudio;
    bool started = false;
};
