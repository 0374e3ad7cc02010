// Seeds for the fuzz targets: PNGs in the sample layouts a decoder may meet
// (RGB, RGBA, grey, grey with alpha, palette, 16 bits a sample, odd widths)
// and short music files (stereo, mono, three channels, chained, shorter than
// one buffer), each small so that the fuzzer mutates it quickly. Fails with a
// message and status 1 when a file cannot be written.
//   BrickVoyagerFuzzSeeds CORPUS_DIR   (writes into CORPUS_DIR/ImageLoaderFuzz and
//                              CORPUS_DIR/BackgroundMusicFuzz)
#include "OggVorbisWriter.h"
#include "PngWriter.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A PNG whose samples are a gradient, so that every byte differs from its
// neighbours; paletted ones use the first four entries.
std::string png(int width, int height, int bitDepth, int colourType)
{
    const int channels = colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 3 ? 1
                         : colourType == 4 ? 2 : 4;
    const int rowBytes = (width * channels * bitDepth + 7) / 8;
    std::string rows;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < rowBytes; ++i)
            rows.push_back(static_cast<char>(colourType == 3 ? (i + y) % 4 : i * 17 + y * 31));
    return encodePngSamples(width, height, bitDepth, colourType, rows,
                            std::string("\xff\0\0\0\xff\0\0\0\xff\xff\xff\xff", 12));
}

bool save(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        std::printf("BrickVoyagerFuzzSeeds: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

// A tone per channel, each a little higher than the one before.
VorbisStream tone(long frames, int channels, double hz)
{
    VorbisStream stream;
    stream.channels = channels;
    stream.samples.resize(static_cast<size_t>(frames) * channels);
    for (long frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            stream.samples[frame * channels + channel] = static_cast<float>(
                0.5 * std::sin(2.0 * M_PI * hz * (1.0 + 0.25 * channel) * frame / 44100.0));
    return stream;
}

bool music(const std::string& path, const std::vector<VorbisStream>& streams)
{
    if (writeOggVorbis(path, streams, 0.0f))
        return true;
    std::printf("BrickVoyagerFuzzSeeds: could not write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: BrickVoyagerFuzzSeeds CORPUS_DIR\n");
        return 1;
    }
    const std::string images = std::string(argv[1]) + "/ImageLoaderFuzz/";
    const std::string sounds = std::string(argv[1]) + "/BackgroundMusicFuzz/";
    bool ok = save(images + "rgb-5x3.png", png(5, 3, 8, 2)) &&
              save(images + "rgba-7x4.png", png(7, 4, 8, 6)) &&
              save(images + "grey-3x3.png", png(3, 3, 8, 0)) &&
              save(images + "grey-alpha-4x2.png", png(4, 2, 8, 4)) &&
              save(images + "palette-4x2.png", png(4, 2, 8, 3)) &&
              save(images + "palette-2bit-9x2.png", png(9, 2, 2, 3)) &&
              save(images + "rgba-16bit-3x2.png", png(3, 2, 16, 6)) &&
              save(images + "rgb-16bit-3x3.png", png(3, 3, 16, 2));
    ok = ok && music(sounds + "stereo.ogg", {tone(4000, 2, 440.0)}) &&
         music(sounds + "mono.ogg", {tone(3000, 1, 330.0)}) &&
         music(sounds + "three-channels.ogg", {tone(2000, 3, 220.0)}) &&
         music(sounds + "chained.ogg", {tone(1500, 2, 440.0), tone(1500, 1, 660.0)}) &&
         music(sounds + "very-short.ogg", {tone(64, 2, 880.0)});
    return ok ? 0 : 1;
}
