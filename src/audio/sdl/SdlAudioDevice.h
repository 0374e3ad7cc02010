#pragma once

#include <string>

class PortAudioCallback;

// SDL's audio output (Web Audio in a browser) as the game's audio device:
// stereo 32-bit float samples fed block by block by a PortAudioCallback. In
// a browser SDL calls it on the page's one thread, between frames, and the
// page's sound runs only after the player's first key press. Every failure
// to start is printed as one line and leaves the device idle, so the game
// runs without sound; nothing here throws.
class SdlAudioDevice {
public:
    SdlAudioDevice() = default;
    ~SdlAudioDevice();
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // The producer must outlive the running output.
    void setCallback(PortAudioCallback* producer) { callback = producer; }
    // SDL's output has no input; the output channels are taken as asked.
    void setNumChannels(int inputs, int outputs);
    // Hertz; start replaces it with the rate SDL grants.
    void setSamplerate(double rate) { sampleRate = rate; }
    // SDL has one audio system; a name is ignored.
    void setAPI(const std::string&) {}

    // Opens and starts the output; true when it runs. False when it already
    // runs, and after any failure (which is printed).
    bool start();
    // Stops and closes a running output; does nothing when none runs.
    void stop();

    double getSamplerate() const { return sampleRate; }
    bool isStarted() const { return started; }

private:
    // SDL's callback: one block of bytes to fill.
    static void fill(void* userData, unsigned char* stream, int bytes);

    PortAudioCallback* callback = nullptr;
    int outputChannels = 2;
    double sampleRate = 44100;
    bool started = false;
};
