#include "audio/BackgroundMusic.h"

#include "audio/OggChain.h"
#include "platform/FilePath.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>

namespace {
// A pass of the decoding thread polls at this interval rather than waiting on
// a signal, so that the audio thread never has to post one.
const Uint32 decodePollMilliseconds = 62;
// Leaves the decoding thread time to finish a fill it may be in before the
// destructor waits for it.
const Uint32 quitGraceMilliseconds = 600;
const float fadeStep = 0.000001f;
} // namespace

BackgroundMusic::BackgroundMusic() : BackgroundMusic(getSoundsPath() + "music.ogg") {}

BackgroundMusic::BackgroundMusic(const std::string& path)
{
    open(path);
}

BackgroundMusic::BackgroundMusic(const std::string& path, WithoutDecodingThread)
    : decodesOnThread(false)
{
    open(path);
}

void BackgroundMusic::open(const std::string& path)
{
    const FilePath music(path);
    std::string problem;
    file = music.openForReading(maxFileBytes, problem);
    if (!file) {
        if (music.isAbsent())
            std::cout << "vorbisfile: fopen could not open file: " << path << std::endl;
        else
            std::cout << "BackgroundMusic: " << path << " " << problem << "; playing no music."
                      << std::endl;
        return;
    }
    if (OggChain::countStreams(file, maxChainedStreams) > maxChainedStreams) {
        std::cout << "BackgroundMusic: " << path << " chains more than " << maxChainedStreams
                  << " streams; playing no music." << std::endl;
        std::fclose(file);
        file = nullptr;
        return;
    }
    if (ov_open(file, &decoder, nullptr, 0) < 0) {
        std::cout << "vorbisfile: Could not open file: " << path << std::endl;
        std::fclose(file);
        file = nullptr;
        return;
    }
    if (ov_streams(&decoder) <= 0) {
        ov_clear(&decoder);
        file = nullptr;
        std::cout << "vorbisfile: There are no streams in this file?" << std::endl;
        return;
    }
    std::cout << "vorbisfile: Loaded file: " << path << std::endl;
    for (int index = 0; index < bufferCount; ++index)
        fillBuffer(index);
    if (decodesOnThread)
        startThread(this);
}

BackgroundMusic::~BackgroundMusic()
{
    quit.store(true, std::memory_order_release);
    if (hasThread())
        SDL_Delay(quitGraceMilliseconds);
    // The decoder must outlive every fill, and the base destructor would wait
    // only after the decoder is gone.
    waitForThread();
    if (file)
        ov_clear(&decoder);
}

void BackgroundMusic::fillBuffer(int index)
{
    float* left = buffers[0][index];
    float* right = buffers[1][index];
    int written = 0;
    int stream = 0;
    // Set by a restart at the first frame and cleared by the first frame read
    // after it: a restart while it is still set means the music has no frames
    // at all, and the rest of the buffer stays silent instead of spinning.
    bool restartedWithoutFrames = false;
    ov_pcm_seek(&decoder, filePosition);
    while (written < bufferFrames) {
        float** pcm = nullptr;
        const long read = ov_read_float(&decoder, &pcm, bufferFrames - written, &stream);
        if (read <= 0 || stream > 0) {
            if (restartedWithoutFrames) {
                std::fill(left + written, left + bufferFrames, 0.0f);
                std::fill(right + written, right + bufferFrames, 0.0f);
                return;
            }
            filePosition = 0;
            ov_pcm_seek(&decoder, 0);
            restartedWithoutFrames = true;
            continue;
        }
        restartedWithoutFrames = false;
        // A mono stream plays on both sides; beyond two channels only the
        // first two are heard.
        const vorbis_info* info = ov_info(&decoder, stream);
        const float* sourceLeft = pcm[0];
        const float* sourceRight = info && info->channels > 1 ? pcm[1] : pcm[0];
        for (long frame = 0; frame < read; ++frame) {
            left[written] = sourceLeft[frame];
            right[written] = sourceRight[frame];
            ++written;
            ++filePosition;
        }
    }
}

void BackgroundMusic::audioBlock(float* output, int frames)
{
    if (!file)
        return;
    for (int frame = 0; frame < frames; ++frame) {
        output[2 * frame] += buffers[0][currentBuffer][playPosition] * fadeGain * 0.5f;
        output[2 * frame + 1] += buffers[1][currentBuffer][playPosition] * fadeGain * 0.5f;
        if (fadeGain < 1.0f)
            fadeGain += fadeStep;
        if (++playPosition == bufferFrames) {
            needsFill[currentBuffer].store(true, std::memory_order_release);
            currentBuffer = (currentBuffer + 1) % bufferCount;
            playPosition = 0;
            // Pairs with the decoding thread's release after a refill, so the
            // refilled samples are visible before they are read. A buffer
            // still waiting (the decoder fell behind) plays as it stands.
            static_cast<void>(needsFill[currentBuffer].load(std::memory_order_acquire));
        }
    }
}

bool BackgroundMusic::run()
{
    while (!quit.load(std::memory_order_acquire)) {
        refillPlayed();
        SDL_Delay(decodePollMilliseconds);
    }
    return true;
}

void BackgroundMusic::refillOnMainLoop()
{
    if (file && !hasThread())
        refillPlayed();
}

void BackgroundMusic::refillPlayed()
{
    // A pass looks at the buffers in the order they are handed back (0, 1, 2,
    // 0, ...), starting after the one it filled last, not by index: when it
    // finds buffers 2 and 0 both waiting, 2 must get the music that follows
    // first, or the two stretches would play swapped.
    const int first = nextFill;
    for (int step = 0; step < bufferCount; ++step) {
        const int index = (first + step) % bufferCount;
        if (needsFill[index].load(std::memory_order_acquire)) {
            fillBuffer(index);
            needsFill[index].store(false, std::memory_order_release);
            nextFill = (index + 1) % bufferCount;
        }
    }
}

std::string BackgroundMusic::getSoundsPath()
{
    const FilePath dataFiles = FilePath::getDataFilesDir();
    if (dataFiles.path.empty())
        return "";
    return dataFiles.getChild("sounds").getChild("").path;
}
