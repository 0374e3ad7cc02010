#pragma once

#include <string>
#include <vector>

// One logical stream of an Ogg Vorbis file: interleaved float samples,
// nominally within -1 to 1, channels per frame.
struct VorbisStream {
    int channels = 2;
    long sampleRate = 44100;
    std::vector<float> samples;
};

// Encodes the streams one after the other into one (chained, when there are
// several) Ogg Vorbis file at the given VBR quality (-0.1 to 1.0). Used by the
// music generator and by the tests that make their own music files. Returns
// false, with nothing left behind, when the encoder or the file fails.
bool writeOggVorbis(const std::string& path, const std::vector<VorbisStream>& streams,
                    float quality);
