#pragma once

// A producer of audio blocks for the audio device. getAudio runs on the audio
// callback thread, so an implementation must take no lock, allocate nothing
// and never wait; a block it leaves unwritten is played as whatever it holds.
class PortAudioCallback {
public:
    virtual ~PortAudioCallback() = default;

    // input: captured interleaved samples, null when the stream has no input.
    // output: interleaved samples to play; every one of them must be written.
    // frames: the block length PortAudio chose; it may change between calls.
    virtual void getAudio(float* input, float* output, int frames) = 0;
};
