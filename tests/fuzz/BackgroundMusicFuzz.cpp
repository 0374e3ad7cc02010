// Music files: the bytes become the file a BackgroundMusic opens. Each input
// is opened, filled into the three buffers, refilled twice more (so that a
// short or broken stream goes round its loop) and mixed for a buffer and a
// half of frames. No decoding thread is started and PortAudio is never
// touched: the fill runs on this thread alone, and without a thread to wait
// for, destroying the object per input costs nothing.

#include "FuzzSupport.h"

#include "audio/BackgroundMusic.h"

#include <vector>

namespace {

class FillOnly : public BackgroundMusic {
public:
    explicit FillOnly(const std::string& path) : BackgroundMusic(path, WithoutDecodingThread{}) {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int mixedFrames = BackgroundMusic::bufferFrames * 3 / 2;
    const std::string path = fuzz::scratchFolder() + "/music.ogg";
    fuzz::writeFile(path, data, size);
    FillOnly music(path);
    for (int fill = 0; fill < 2; ++fill)
        music.fillBuffer(fill % BackgroundMusic::bufferCount);
    static std::vector<float> block(2 * mixedFrames);
    std::fill(block.begin(), block.end(), 0.0f);
    music.audioBlock(block.data(), mixedFrames);
    return 0;
}
