#include "audio/portaudio/PortAudioDevice.h"

#include "audio/PortAudioCallback.h"
#include "platform/HostAudioMessages.h"

#include <iostream>

namespace {

struct HostApiName {
    const char* name;
    PaHostApiTypeId type;
};

// In the order setAPI tests them; CoreAudio also catches every other name.
// Windows' systems are named as PortAudio names them there too.
const HostApiName hostApiNames[] = {
    {"Windows WASAPI", paWASAPI}, {"Windows DirectSound", paDirectSound},
    {"DirectSound", paDirectSound}, {"ASIO", paASIO}, {"MME", paMME},
    {"ALSA", paALSA},               {"JACK", paJACK}, {"OSS", paOSS},
    {"CoreAudio", paCoreAudio},
};

std::string nameOf(PaHostApiTypeId type)
{
    for (const HostApiName& entry : hostApiNames)
        if (entry.type == type)
            return entry.name;
    return "host API " + std::to_string(type);
}

// A block size of 0 lets PortAudio choose one per callback.
const unsigned long hostChosenBlockFrames = 0;

// Interleaved 32-bit floats with the lowest latency the host allows and no
// host-only settings.
PaStreamParameters floatStream(PaDeviceIndex device, int channels)
{
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = channels;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = 0.0;
    return parameters;
}

} // namespace

PortAudioDevice::~PortAudioDevice()
{
    stop();
}

void PortAudioDevice::setCallback(PortAudioCallback* producer)
{
    callback = producer;
}

void PortAudioDevice::setNumChannels(int inputs, int outputs)
{
    inputChannels = inputs;
    outputChannels = outputs;
}

void PortAudioDevice::setSamplerate(double rate)
{
    sampleRate = rate;
}

void PortAudioDevice::setAPI(const std::string& name)
{
    hostApiType = paCoreAudio;
    for (const HostApiName& entry : hostApiNames) {
        if (name == entry.name) {
            hostApiType = entry.type;
            return;
        }
    }
}

bool PortAudioDevice::start()
{
    if (started)
        return false;
    HostAudioMessages::silence();
    if (Pa_Initialize() != paNoError) {
        std::cout << "PortAudioDevice Error: Could not initialise." << std::endl;
        return false;
    }

    // A host system this PortAudio build lacks (CoreAudio on Linux) gives way
    // to PortAudio's default; with none at all there is no device, and the
    // open below fails with its message.
    PaHostApiIndex hostApi = Pa_HostApiTypeIdToHostApiIndex(hostApiType);
    if (hostApi < 0) {
        hostApi = Pa_GetDefaultHostApi();
        const PaHostApiInfo* fallback = hostApi >= 0 ? Pa_GetHostApiInfo(hostApi) : nullptr;
        std::cout << "PortAudioDevice: " << nameOf(hostApiType) << " is not available, using "
                  << (fallback && fallback->name ? fallback->name : "no host API") << "."
                  << std::endl;
    }
    const PaHostApiInfo* info = hostApi >= 0 ? Pa_GetHostApiInfo(hostApi) : nullptr;

    const PaStreamParameters inputParameters =
        floatStream(info ? info->defaultInputDevice : paNoDevice, inputChannels);
    const PaStreamParameters outputParameters =
        floatStream(info ? info->defaultOutputDevice : paNoDevice, outputChannels);

    if (Pa_IsFormatSupported(nullptr, &outputParameters, sampleRate) == paInvalidSampleRate) {
        std::cout << "44100Hz samplerate not supported, using 48000Hz." << std::endl;
        sampleRate = 48000;
        if (Pa_IsFormatSupported(nullptr, &outputParameters, sampleRate) == paInvalidSampleRate)
            std::cout << "48000Hz not supported either?" << std::endl;
    }

    if (Pa_OpenStream(&stream, inputChannels >= 1 ? &inputParameters : nullptr,
                         outputChannels >= 1 ? &outputParameters : nullptr, sampleRate,
                         hostChosenBlockFrames, paNoFlag, &PortAudioDevice::portAudioCallback,
                         callback)
               != paNoError) {
        std::cout << "PortAudioDevice Error: Could not open stream." << std::endl;
        stream = nullptr;
        Pa_Terminate();
        return false;
    }
    if (Pa_StartStream(stream) != paNoError) {
        std::cout << "PortAudioDevice Error: Could not start stream." << std::endl;
        Pa_CloseStream(stream);
        stream = nullptr;
        Pa_Terminate();
        return false;
    }
    started = true;
    return true;
}

void PortAudioDevice::stop()
{
    if (!started)
        return;
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    stream = nullptr;
    Pa_Terminate();
    started = false;
}

int PortAudioDevice::portAudioCallback(const void* input, void* output, unsigned long frames,
                                       const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                                       void* userData)
{
    if (userData)
        static_cast<PortAudioCallback*>(userData)->getAudio(
            const_cast<float*>(static_cast<const float*>(input)), static_cast<float*>(output),
            static_cast<int>(frames));
    return paContinue;
}
