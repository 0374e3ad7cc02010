#include "audio/sdl/SdlAudioDevice.h"

#include "audio/PortAudioCallback.h"

#include <SDL.h>

#include <iostream>

namespace {

// About 93 ms at 44.1 kHz: a browser schedules each block as a buffer of its
// own, and shorter ones run dry when a frame comes late.
const Uint16 blockFrames = 4096;

} // namespace

SdlAudioDevice::~SdlAudioDevice()
{
    stop();
}

void SdlAudioDevice::setNumChannels(int, int outputs)
{
    outputChannels = outputs;
}

bool SdlAudioDevice::start()
{
    if (started)
        return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::cout << "SdlAudioDevice Error: Could not initialise: " << SDL_GetError() << std::endl;
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(sampleRate);
    wanted.format = AUDIO_F32;
    wanted.channels = static_cast<Uint8>(outputChannels);
    wanted.samples = blockFrames;
    wanted.callback = &SdlAudioDevice::fill;
    wanted.userdata = this;
    SDL_AudioSpec granted{};
    if (SDL_OpenAudio(&wanted, &granted) != 0 || granted.freq <= 0 ||
        granted.format != AUDIO_F32 || granted.channels != wanted.channels) {
        std::cout << "SdlAudioDevice Error: Could not open the output: " << SDL_GetError()
                  << std::endl;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sampleRate = granted.freq;
    started = true;
    SDL_PauseAudio(0);
    std::cout << "SdlAudioDevice: " << granted.freq << " Hz, " << int(granted.channels)
              << " channels, blocks of " << granted.samples << " frames." << std::endl;
    return true;
}

void SdlAudioDevice::stop()
{
    if (!started)
        return;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    started = false;
}

void SdlAudioDevice::fill(void* userData, unsigned char* stream, int bytes)
{
    auto* device = static_cast<SdlAudioDevice*>(userData);
    float* output = reinterpret_cast<float*>(stream);
    const int frames = bytes / static_cast<int>(sizeof(float)) / device->outputChannels;
    device->callback->getAudio(nullptr, output, frames);
}
