#pragma once

#include "platform/Thread.h"

#include <vorbis/vorbisfile.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

// The music track, decoded ahead on a thread of its own into three quarter-
// second buffers and mixed into the audio blocks without a lock, in an endless
// seamless loop with a slow fade-in. A missing or unreadable file, or anything
// but a regular file of at most 64 MB and 64 chained streams, is reported on
// standard output and leaves the object silent; it never throws.
class BackgroundMusic : public Thread {
public:
    static constexpr int bufferFrames = 11025;
    static constexpr int bufferCount = 3;
    // Ten minutes of music at a generous bit rate, in at most so many
    // chained streams (only the first plays): the decoder reads and keeps the
    // headers of every one of them on opening.
    static constexpr std::uintmax_t maxFileBytes = 64 * 1024 * 1024;
    static constexpr int maxChainedStreams = 64;

    // Plays getSoundsPath() + "music.ogg".
    BackgroundMusic();
    explicit BackgroundMusic(const std::string& path);
    ~BackgroundMusic() override;

    // Adds frames stereo frames of music, at half amplitude times the fade
    // gain, to the interleaved block. Audio thread only; never waits.
    void audioBlock(float* output, int frames);

    // Decodes the next bufferFrames frames of music into buffer index,
    // continuing from the start of the music where it ends.
    void fillBuffer(int index);

    bool run() override;
    // For a system that runs no threads: the decoding thread's pass, made on
    // the main loop once a frame. Does nothing while a decoding thread runs.
    void refillOnMainLoop();

    // <data files dir>/sounds/, or empty when the executable cannot be found.
    static std::string getSoundsPath();

    // The audio thread's position; read on that thread only.
    int getCurrentBuffer() const { return currentBuffer; }
    int getPlayPosition() const { return playPosition; }
    float getFadeGain() const { return fadeGain; }
    // False while the buffer waits for the decoding thread.
    bool isBufferReady(int index) const { return !needsFill[index].load(std::memory_order_acquire); }

protected:
    // Opens and fills as above but starts no decoding thread, so that nothing
    // but the caller ever decodes and destruction has no thread to wait for.
    // For programs that drive fillBuffer themselves, one file after another.
    struct WithoutDecodingThread {};
    BackgroundMusic(const std::string& path, WithoutDecodingThread);

private:
    void open(const std::string& path);
    // Refills every buffer the audio side has played out, in the order they
    // were handed back.
    void refillPlayed();

    FILE* file = nullptr;
    OggVorbis_File decoder{};
    // Written by the decoding thread (by the constructor before it starts).
    int filePosition = 0;
    // The buffer the next refill looks at first; written by the decoding
    // thread, or by the main loop where there is none.
    int nextFill = 0;
    // Written by the audio thread.
    float fadeGain = 0.0f;
    // A buffer is written by the decoding thread only while its needsFill is
    // set; the audio thread reads it once it is clear again (or, should the
    // decoder have fallen behind, plays it as it stands).
    float buffers[2][bufferCount][bufferFrames] = {};
    // Written by the audio thread.
    int currentBuffer = 0;
    // Set by the audio thread when a buffer is played out, cleared by the
    // decoding thread when it is full again.
    std::atomic<bool> needsFill[bufferCount] = {};
    // Written by the audio thread.
    int playPosition = 0;
    // Set by the destructor.
    std::atomic<bool> quit{false};
    const bool decodesOnThread = true;
};
