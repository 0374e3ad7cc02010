#pragma once

// The page's audio output: SDL's, which is Web Audio in a browser.
// Application holds the build's AudioDevice; CMake puts this folder on the
// include path (BV_AUDIO_DEVICE).
#include "audio/sdl/SdlAudioDevice.h"

using AudioDevice = SdlAudioDevice;
