// Synthesises the game's music, a calm loop of a little over three minutes
// of soft pads and slow bell notes in D major (the score is in Score.cpp),
// and encodes it as Ogg Vorbis. Everything is rendered around a circle of
// exactly the loop's length (tails that run past the end come in again at the
// start, and the echo runs until it repeats itself), so the end flows into the
// start without a seam, and the loop point sits in a quiet breath so that the
// codec's edges cannot be heard. The same program checks a music file: length,
// level per second, offset and the loop seam.
//   BrickVoyagerMusicGen OUTPUT.ogg
//   BrickVoyagerMusicGen --check FILE.ogg
#include "OggVorbisWriter.h"
#include "Score.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const int sampleRate = 44100;
const double pi = 3.14159265358979323846;
// The finished mix peaks here, about -9 dBFS: quiet, and the game halves it again.
const float peakLevel = 0.35f;
const float encodingQuality = 0.2f;

// A stereo loop whose frame index wraps around.
struct Loop {
    explicit Loop(long frames) : frames(frames), left(frames, 0.0), right(frames, 0.0) {}

    const long frames;
    std::vector<double> left;
    std::vector<double> right;

    void add(long frame, double l, double r)
    {
        const long at = ((frame % frames) + frames) % frames;
        left[at] += l;
        right[at] += r;
    }
};

double frequencyOf(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Rises and falls along half a cosine, so that nothing clicks in or out.
double smoothStep(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(pi * x);
}

// A sustained chord tone: two slightly detuned voices, one to each side, with
// two soft overtones, a slow swell in and a long fade out.
void addPadNote(Loop& loop, double startSeconds, double seconds, int midiNote, double amplitude)
{
    const double attack = 2.8;
    const double release = 3.2;
    const double frequency = frequencyOf(midiNote);
    const long start = std::lround(startSeconds * sampleRate);
    const long length = std::lround(seconds * sampleRate);
    for (long i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double envelope = smoothStep(t / attack) * smoothStep((seconds - t) / release);
        double voices[2];
        for (int voice = 0; voice < 2; ++voice) {
            const double phase = 2.0 * pi * frequency * (voice == 0 ? 0.9988 : 1.0012) * t;
            voices[voice] = std::sin(phase) + 0.18 * std::sin(2.0 * phase) + 0.06 * std::sin(3.0 * phase);
        }
        const double level = amplitude * envelope;
        loop.add(start + i, level * (0.8 * voices[0] + 0.45 * voices[1]),
                 level * (0.45 * voices[0] + 0.8 * voices[1]));
    }
}

// A soft struck tone: a few partials that die away, the upper ones sooner.
void addBell(Loop& loop, double startSeconds, int midiNote, double amplitude, double pan)
{
    const double frequency = frequencyOf(midiNote);
    const double decay = 2.4;
    const long start = std::lround(startSeconds * sampleRate);
    const long length = std::lround(10.0 * decay * sampleRate);
    const double leftGain = std::cos(pan * pi / 2.0);
    const double rightGain = std::sin(pan * pi / 2.0);
    for (long i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double onset = smoothStep(t / 0.012);
        const double phase = 2.0 * pi * frequency * t;
        const double tone = std::exp(-t / decay) * std::sin(phase)
                            + 0.22 * std::exp(-t / (decay * 0.4)) * std::sin(2.0 * phase)
                            + 0.05 * std::exp(-t / (decay * 0.2)) * std::sin(4.07 * phase);
        const double value = amplitude * onset * tone;
        loop.add(start + i, value * leftGain, value * rightGain);
    }
}

// A dull echo, a little longer on the right than on the left. The loop is run
// through it three times and the last round kept: by then the echo entering
// the start is the one that left the end.
void addEcho(Loop& loop)
{
    const long delays[2] = {std::lround(0.61 * sampleRate), std::lround(0.87 * sampleRate)};
    const double feedback = 0.33;
    const double wet = 0.22;
    std::vector<double>* channels[2] = {&loop.left, &loop.right};
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<double> dry = *channels[channel];
        std::vector<double> line(delays[channel], 0.0);
        std::vector<double> out(loop.frames, 0.0);
        long at = 0;
        double damped = 0.0;
        for (int round = 0; round < 3; ++round) {
            for (long i = 0; i < loop.frames; ++i) {
                const double delayed = line[at];
                damped += 0.35 * (delayed - damped);
                line[at] = dry[i] + feedback * damped;
                at = (at + 1) % delays[channel];
                out[i] = dry[i] + wet * damped;
            }
        }
        *channels[channel] = out;
    }
}

std::vector<float> compose()
{
    const std::vector<Section> sections = score();
    int chordCount = 0;
    for (const Section& section : sections)
        chordCount += static_cast<int>(section.chords.size());
    const double loopSeconds = chordCount * chordSeconds;
    Loop loop(std::lround(loopSeconds * sampleRate));
    int c = 0;
    int index = 0;
    for (const Section& section : sections) {
        const double sectionStart = c * chordSeconds;
        for (const Chord& chord : section.chords) {
            // Chords overlap by 2 s and crossfade, also from one section to
            // the next, but the first swells in from silence and the last
            // has died away just before the loop ends: the piece breathes
            // there, and the seam falls where there is almost nothing for
            // the codec to get wrong.
            double start = c * chordSeconds - 1.0;
            double end = (c + 1) * chordSeconds + 1.0;
            if (c == 0)
                start = 0.0;
            if (c == chordCount - 1)
                end = loopSeconds - 0.3;
            for (int n = 0; n < 6; ++n) {
                if (chord.notes[n] == 0)
                    continue;
                const double amplitude = n == 0 ? 0.10 : 0.055 * std::pow(0.9, n);
                addPadNote(loop, start, end - start, chord.notes[n], amplitude);
            }
            ++c;
        }
        for (const BellNote& bell : section.bells)
            addBell(loop, sectionStart + bell.seconds, bell.note, bell.amplitude,
                    index++ % 2 ? 0.62 : 0.38);
    }
    addEcho(loop);

    double peak = 0.0;
    for (long i = 0; i < loop.frames; ++i)
        peak = std::max({peak, std::abs(loop.left[i]), std::abs(loop.right[i])});
    const double scale = peak > 0.0 ? peakLevel / peak : 0.0;
    std::vector<float> samples(2 * loop.frames);
    for (long i = 0; i < loop.frames; ++i) {
        samples[2 * i] = static_cast<float>(loop.left[i] * scale);
        samples[2 * i + 1] = static_cast<float>(loop.right[i] * scale);
    }
    return samples;
}

double decibels(double value)
{
    return value > 0.0 ? 20.0 * std::log10(value) : -999.0;
}

// Decodes the whole first stream and reports what an ear would check first.
int check(const std::string& path)
{
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) < 0) {
        std::cout << "musicgen: Could not decode " << path << std::endl;
        return 1;
    }
    const vorbis_info* info = ov_info(&file, 0);
    const int channels = info->channels;
    std::vector<std::vector<float>> pcm(channels);
    int stream = 0;
    for (;;) {
        float** data = nullptr;
        const long read = ov_read_float(&file, &data, 4096, &stream);
        if (read <= 0 || stream > 0)
            break;
        for (int c = 0; c < channels; ++c)
            pcm[c].insert(pcm[c].end(), data[c], data[c] + read);
    }
    const long rate = info->rate;
    ov_clear(&file);
    const long frames = static_cast<long>(pcm[0].size());
    std::FILE* raw = std::fopen(path.c_str(), "rb");
    long bytes = 0;
    if (raw) {
        std::fseek(raw, 0, SEEK_END);
        bytes = std::ftell(raw);
        std::fclose(raw);
    }
    std::printf("%s: %d channels, %ld Hz, %ld frames (%.3f s), %ld bytes\n", path.c_str(), channels,
                rate, frames, static_cast<double>(frames) / rate, bytes);
    if (frames < 3)
        return 1;
    double totalSquares = 0.0;
    double totalPeak = 0.0;
    double largestStep = 0.0;
    for (long second = 0; second * rate < frames; ++second) {
        const long end = std::min(frames, (second + 1) * rate);
        double squares = 0.0;
        double peak = 0.0;
        for (long i = second * rate; i < end; ++i) {
            for (int c = 0; c < channels; ++c) {
                const double v = pcm[c][i];
                squares += v * v;
                peak = std::max(peak, std::abs(v));
                if (i > 0)
                    largestStep = std::max(largestStep, std::abs(v - pcm[c][i - 1]));
            }
        }
        totalSquares += squares;
        totalPeak = std::max(totalPeak, peak);
        const double rms = std::sqrt(squares / ((end - second * rate) * channels));
        std::printf("  second %3ld: rms %6.1f dBFS, peak %6.1f dBFS\n", second, decibels(rms),
                    decibels(peak));
    }
    std::printf("  whole: rms %.1f dBFS, peak %.1f dBFS\n",
                decibels(std::sqrt(totalSquares / (frames * channels))), decibels(totalPeak));
    std::printf("  largest step between neighbouring samples: %.6f\n", largestStep);
    for (int c = 0; c < channels; ++c) {
        double sum = 0.0;
        for (const float v : pcm[c])
            sum += v;
        std::printf("  channel %d offset (mean): %.6f\n", c, sum / frames);
    }
    for (int c = 0; c < channels; ++c) {
        const std::vector<float>& x = pcm[c];
        const double seamStep = x[0] - x[frames - 1];
        const double slopeBefore = x[frames - 1] - x[frames - 2];
        const double slopeAfter = x[1] - x[0];
        std::printf("  channel %d seam: last %.6f first %.6f step %.6f; slope before %.6f, across "
                    "%.6f, after %.6f\n",
                    c, x[frames - 1], x[0], seamStep, slopeBefore, seamStep, slopeAfter);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--check")
        return check(argv[2]);
    if (argc != 2) {
        std::cout << "usage: BrickVoyagerMusicGen OUTPUT.ogg | --check FILE.ogg" << std::endl;
        return 2;
    }
    VorbisStream music;
    music.channels = 2;
    music.sampleRate = sampleRate;
    music.samples = compose();
    if (!writeOggVorbis(argv[1], {music}, encodingQuality)) {
        std::cout << "musicgen: Could not write " << argv[1] << std::endl;
        return 1;
    }
    return check(argv[1]);
}
