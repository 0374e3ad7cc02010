#pragma once

// The desktop's audio output: PortAudio, on the system's audio (ALSA, JACK,
// ...). Application holds the build's AudioDevice; CMake puts this folder on
// the include path (BV_AUDIO_DEVICE).
#include "audio/portaudio/PortAudioDevice.h"

using AudioDevice = PortAudioDevice;
