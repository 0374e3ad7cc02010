// Checks a capture of the game's sound (raw interleaved stereo 32-bit floats,
// as ALSA's file plugin writes them) against the music track it should hold:
// the track's first stream looping from its first frame, times the fade-in
// gain, at half amplitude. Walks the capture in 10 ms blocks; where a block
// is not the next stretch of music it finds where in the track it came from
// and reports a repeat (it came from earlier), a gap (from later), silence or
// noise. Silence that the device inserted when it ran dry (after which the
// music goes on exactly where it stopped) is counted apart, as an underrun:
// the music was not at fault. With --level-changes the player may have
// changed the music's level: a stretch that glides or falls silent while the
// music goes on at its place, until it plays at a steady level again, is
// counted as a change of level (and as quiet when it fell silent), not a
// flaw; silence in which it stood still is an underrun, as above. Exits 0
// when the music has no flaw, 1 when it found one, 2 when a
// file cannot be read.
//   BrickVoyagerCaptureCheck [--level-changes] MUSIC.ogg CAPTURE.raw
#include "OggVorbisReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const long rate = 44100;
const long blockFrames = 441;
const long bufferFrames = 11025;  // the music's decoding buffer
const float fadeStep = 0.000001f; // the music's fade-in, per frame

bool readCapture(const std::string& path, std::vector<float>& samples)
{
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return false;
    float chunk[8192];
    size_t read;
    while ((read = std::fread(chunk, sizeof(float), 8192, in)) > 0)
        samples.insert(samples.end(), chunk, chunk + read);
    std::fclose(in);
    samples.resize(samples.size() & ~size_t(1));
    return true;
}

// The fade-in gain after a number of frames, computed as the game does.
class Gains {
public:
    Gains()
    {
        float gain = 0.0f;
        while (gain < 1.0f) {
            values.push_back(gain);
            gain += fadeStep;
        }
        values.push_back(gain);
    }
    float at(long frame) const
    {
        return frame < static_cast<long>(values.size()) ? values[frame] : values.back();
    }

private:
    std::vector<float> values;
};

class Checker {
public:
    Checker(const DecodedMusic& track, const std::vector<float>& capture)
        : track(track), capture(capture), frames(static_cast<long>(capture.size() / 2))
    {
    }

    // Whether the block at capture frame t is the music at position p with
    // the gain of frame number g.
    bool fits(long t, long p, long g, long count) const
    {
        for (long i = 0; i < count; ++i) {
            const long m = (p + i) % track.frames();
            const float gain = gains.at(g + i);
            const float left = track.left[m] * gain * 0.5f;
            const float right = track.right[m] * gain * 0.5f;
            const float tolerance = 1e-5f;
            if (std::fabs(capture[2 * (t + i)] - left) > tolerance + 1e-4f * std::fabs(left) ||
                std::fabs(capture[2 * (t + i) + 1] - right) > tolerance + 1e-4f * std::fabs(right))
                return false;
        }
        return true;
    }

    bool silent(long t, long count) const
    {
        for (long i = 2 * t; i < 2 * (t + count); ++i)
            if (capture[i] != 0.0f)
                return false;
        return true;
    }

    // The first frame of the capture where the music starts (its very first
    // frame is silent, so it is found by fit, not by the first sound);
    // -1 when none in the first ten seconds fits.
    long findStart() const
    {
        long firstSound = 0;
        while (firstSound < frames && capture[2 * firstSound] == 0.0f &&
               capture[2 * firstSound + 1] == 0.0f)
            ++firstSound;
        const long window = std::min(frames - firstSound, 2 * rate);
        for (long start = firstSound; start >= 0 && start > firstSound - 2 * rate; --start)
            if (window > 0 && fits(start, 0, 0, window))
                return start;
        return -1;
    }

    // Frames from t on (at most count) that are the music from p with the
    // gain clock at g.
    long matchingFrames(long t, long p, long g, long count) const
    {
        long i = 0;
        while (i < count && t + i < frames && fits(t + i, p + i, g + i, 1))
            ++i;
        return i;
    }

    // When the block at t is the music from p up to a run of silence after
    // which the music goes on from exactly where it stopped: the length of
    // that run, else 0.
    long insertedSilence(long t, long p, long g, long count) const
    {
        const long played = matchingFrames(t, p, g, count);
        long zeros = 0;
        while (t + played + zeros < frames && capture[2 * (t + played + zeros)] == 0.0f &&
               capture[2 * (t + played + zeros) + 1] == 0.0f)
            ++zeros;
        const long resume = t + played + zeros;
        if (zeros == 0 || resume + count > frames)
            return 0;
        return fits(resume, (p + played) % track.frames(), g + played, count) ? zeros : 0;
    }

    // Whether the block at t is the music at position p at some steady gain:
    // a stretch played again later carries a later gain of the fade.
    bool fitsAnyGain(long t, long p, long count) const { return misfit(t, p, count) >= 0.0; }

    // How far the block at t is from the music at position p at the steady
    // gain that suits it best (the sum of the squared differences); -1 when
    // it is not that music at all.
    double misfit(long t, long p, long count) const
    {
        double product = 0.0, power = 0.0;
        for (long i = 0; i < count; ++i) {
            const long m = (p + i) % track.frames();
            product += capture[2 * (t + i)] * 0.5 * track.left[m] +
                       capture[2 * (t + i) + 1] * 0.5 * track.right[m];
            power += 0.25 * (track.left[m] * track.left[m] + track.right[m] * track.right[m]);
        }
        const double gain = power > 0.0 ? product / power : 0.0;
        if (gain < 1e-3)
            return -1.0;
        double squares = 0.0;
        for (long i = 0; i < count; ++i) {
            const long m = (p + i) % track.frames();
            const double left = track.left[m] * 0.5 * gain, right = track.right[m] * 0.5 * gain;
            const double offLeft = capture[2 * (t + i)] - left, offRight = capture[2 * (t + i) + 1] - right;
            if (std::fabs(offLeft) > 2e-4 + 1e-3 * std::fabs(left) || std::fabs(offRight) > 2e-4 + 1e-3 * std::fabs(right))
                return -1.0;
            squares += offLeft * offLeft + offRight * offRight;
        }
        return squares;
    }

    // Whether the block at t goes with the music at p at all: its
    // correlation with it where it is not silent, whatever the gain did
    // within the block.
    bool correlates(long t, long p, long count) const
    {
        double product = 0.0, captured = 0.0, music = 0.0;
        for (long i = 0; i < count; ++i) {
            const long m = (p + i) % track.frames();
            if (capture[2 * (t + i)] == 0.0f && capture[2 * (t + i) + 1] == 0.0f)
                continue;
            for (int side = 0; side < 2; ++side) {
                const double x = capture[2 * (t + i) + side], y = side ? track.right[m] : track.left[m];
                product += x * y;
                captured += x * x;
                music += y * y;
            }
        }
        return captured > 0.0 && music > 0.0 && product / std::sqrt(captured * music) > 0.5;
    }

    // Frames in the block at t that are silent on both sides.
    long silentFrames(long t, long count) const
    {
        long zeros = 0;
        for (long i = t; i < t + count; ++i)
            zeros += capture[2 * i] == 0.0f && capture[2 * i + 1] == 0.0f;
        return zeros;
    }

    // A change of the music's level (a glide, or silence while the music
    // goes on: muted), or the device running dry at a level other than the
    // fade's: how many frames it takes until the music plays at a steady
    // level again, where in the track it is then, how many frames it stood
    // still (the device ran dry), and whether it went on through silence.
    struct Change {
        long frames = 0;
        long position = 0;
        long stoodStill = 0;
        bool quiet = false;
    };

    // The change that starts with the block at t, the music at p: every
    // block on the way silent or going with the music at its place, the
    // music afterwards where it would be, or up to the silence's length
    // earlier when it stood still in it. No frames when there is none.
    Change levelChange(long t, long p) const
    {
        const long n = track.frames();
        long zeros = 0, walked = 0;
        for (; t + walked + blockFrames <= frames; walked += blockFrames) {
            const long q = (p + walked) % n;
            if (walked > 0 && fitsAnyGain(t + walked, q, blockFrames))
                return {walked, q, 0, zeros > 0};
            const long silence = silentFrames(t + walked, blockFrames);
            zeros += silence;
            if (silence == blockFrames || correlates(t + walked, q, blockFrames))
                continue;
            // The music soon plays steadily again, having stood still for
            // some of the silence so far: of the places that fit, the one
            // that fits best (soft music fits a frame either side too).
            for (long ahead = walked; ahead <= walked + 8 * blockFrames && t + ahead + blockFrames <= frames;
                 ahead += blockFrames) {
                if (ahead > walked)
                    zeros += silentFrames(t + ahead, blockFrames);
                long best = 0;
                double bestMisfit = -1.0;
                for (long still = 1; still <= zeros; ++still) {
                    const long r = ((p + ahead - still) % n + n) % n;
                    const double off = fitsAnyGain(t + ahead, r, 32) ? misfit(t + ahead, r, blockFrames) : -1.0;
                    if (off >= 0.0 && (bestMisfit < 0.0 || off < bestMisfit)) {
                        best = still;
                        bestMisfit = off;
                    }
                }
                if (best > 0)
                    return {ahead, ((p + ahead - best) % n + n) % n, best, zeros - best > blockFrames};
            }
            return {};
        }
        // The capture ended first (the game stopped its sound as it ended).
        return {walked, (p + walked) % n, 0, false};
    }

    // Where in the track the block at t comes from: first the stretches one
    // to three buffers either side of the expected position p, then the whole
    // track. -1 when nowhere.
    long locate(long t, long p, long count) const
    {
        const long n = track.frames();
        for (long slip = 1; slip <= 3; ++slip)
            for (long sign : {-1L, 1L}) {
                const long q = ((p + sign * slip * bufferFrames) % n + n) % n;
                if (fitsAnyGain(t, q, count))
                    return q;
            }
        for (long q = 0; q < n; ++q)
            if (fitsAnyGain(t, q, 32) && fitsAnyGain(t, q, count))
                return q;
        return -1;
    }

    const DecodedMusic& track;
    const std::vector<float>& capture;
    const long frames;
    const Gains gains;
};

double seconds(long frames)
{
    return static_cast<double>(frames) / rate;
}

} // namespace

int main(int argc, char** argv)
{
    const bool levelChanges = argc == 4 && std::string(argv[1]) == "--level-changes";
    if (argc != 3 + levelChanges) {
        std::printf("usage: BrickVoyagerCaptureCheck [--level-changes] MUSIC.ogg CAPTURE.raw\n");
        return 2;
    }
    const char* const musicPath = argv[1 + levelChanges];
    const char* const capturePath = argv[2 + levelChanges];
    DecodedMusic track;
    if (!readFirstStream(musicPath, track)) {
        std::printf("CaptureCheck: cannot decode %s\n", musicPath);
        return 2;
    }
    std::vector<float> capture;
    if (!readCapture(capturePath, capture)) {
        std::printf("CaptureCheck: cannot read %s\n", capturePath);
        return 2;
    }
    const Checker checker(track, capture);
    const long start = checker.findStart();
    if (start < 0) {
        std::printf("CaptureCheck: the capture (%.1f s) does not begin with the music\n",
                    seconds(checker.frames));
        return 1;
    }

    long repeats = 0, gaps = 0, silences = 0, unmatched = 0, underruns = 0, reported = 0;
    long levels = 0, quietLevels = 0;
    long p = 0;    // the music's position
    long g = 0;    // frames the music has mixed so far: the fade's clock
    long t = start;
    long flawStart = -1; // capture frame where a stretch of silence or noise began
    const char* const silence = "silence";
    const char* const otherSound = "sound that is not the music";
    const char* flawKind = "";
    auto closeFlaw = [&](long end) {
        if (flawStart < 0)
            return;
        if (reported++ < 50)
            std::printf("CaptureCheck: %s of %.3f s at %.3f s\n", flawKind, seconds(end - flawStart),
                        seconds(flawStart));
        flawStart = -1;
    };
    // A stretch of silence or noise begins at t, unless one of its kind goes on.
    auto openFlaw = [&](const char* kind, long& count) {
        if (flawStart >= 0 && flawKind == kind)
            return;
        closeFlaw(t);
        flawStart = t;
        flawKind = kind;
        ++count;
    };
    while (t + blockFrames <= checker.frames) {
        if (checker.fits(t, p, g, blockFrames) || checker.fitsAnyGain(t, p, blockFrames)) {
            closeFlaw(t);
        } else if (const long zeros = checker.insertedSilence(t, p, g, blockFrames)) {
            // The device ran dry and PortAudio filled it with silence; the
            // music itself went on from where it was: not a flaw of the music.
            closeFlaw(t);
            ++underruns;
            const long played = checker.matchingFrames(t, p, g, blockFrames);
            if (reported++ < 50)
                std::printf("CaptureCheck: underrun: %ld frames of silence inserted at %.3f s, "
                            "the music resumes where it stopped\n", zeros, seconds(t + played));
            t += played + zeros;
            p = (p + played) % track.frames();
            g += played;
            continue;
        } else if (const Checker::Change change = levelChanges ? checker.levelChange(t, p) : Checker::Change();
                   change.frames > 0) {
            closeFlaw(t);
            if (change.stoodStill > 0 && reported++ < 50)
                std::printf("CaptureCheck: underrun: the music stood still for %ld frames of silence in a change "
                            "of level at %.3f s\n", change.stoodStill, seconds(t));
            underruns += change.stoodStill > 0;
            levels += change.stoodStill == 0 || change.quiet;
            quietLevels += change.quiet;
            t += change.frames;
            g += change.frames;
            p = change.position;
            continue;
        } else if (checker.silent(t, blockFrames)) {
            // Silence from the device, not the music: its clock stands still.
            openFlaw(silence, silences);
            t += blockFrames;
            continue;
        } else {
            const long q = checker.locate(t, p, blockFrames);
            if (q < 0) {
                openFlaw(otherSound, unmatched);
            } else {
                closeFlaw(t);
                const long n = track.frames();
                long jump = ((q - p) % n + n) % n;
                const bool back = jump > n / 2;
                if (back)
                    jump = n - jump;
                ++(back ? repeats : gaps);
                if (reported++ < 50)
                    std::printf("CaptureCheck: %s of %.3f s (%ld frames) at %.3f s\n",
                                back ? "repeat" : "gap", seconds(jump), jump, seconds(t));
                p = q;
            }
        }
        p = (p + blockFrames) % track.frames();
        g += blockFrames;
        t += blockFrames;
    }
    closeFlaw(t);
    std::printf("CaptureCheck: %.1f s of sound captured, the music from %.3f s on; track %.1f s, "
                "played %.2f times\n",
                seconds(checker.frames), seconds(start), seconds(track.frames()),
                static_cast<double>(g) / track.frames());
    std::printf("CaptureCheck: %ld repeats, %ld gaps, %ld silences, %ld stretches of other sound "
                "in the music; %ld device underruns\n",
                repeats, gaps, silences, unmatched, underruns);
    if (levelChanges)
        std::printf("CaptureCheck: %ld changes of the music's level, %ld of them through silence\n", levels,
                    quietLevels);
    return repeats + gaps + silences + unmatched == 0 ? 0 : 1;
}
