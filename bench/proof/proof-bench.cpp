// Proves each plane of a levels file finishable as the editor does (the
// route search over the plane's four screens, from its start to its door)
// and prints one line per plane: the CPU time the proof took and the frames
// of the route found (0: none).
//   BrickVoyagerProofBench [LEVELS_FILE [MAX_FRAMES CAP [PLANE]]]
//   BrickVoyagerProofBench --runner [LEVELS_FILE]
// The levels file defaults to the one beside the executable, the limits to
// the editor's; PLANE proves that plane alone. With --runner the editor's
// proof runner proves each plane as it runs on this system, and the line
// tells its frames of the editor (where it runs in slices: the seconds that
// takes at 30 frames a second). Exits 1 when a plane has no route.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "editor/ProofRunner.h"
#include "FatalError.h"
#include "game/LevelLoader.h"
#include "game/PlaneProof.h"
#include "platform/SteadyClock.h"

namespace {

// One proof by the runner, as the editor calls it: update() once a frame.
bool proveByRunner(const PlaneProof::Screens& screens, int plane)
{
    ProofRunner runner;
    const std::uint64_t started = SteadyClock::microseconds();
    runner.prove(screens);
    long frames = 0;
    for (; runner.status().state == ProofRunner::State::Searching; ++frames) {
        runner.update();
        if (runner.mode() == ProofRunner::Mode::Threaded)
            SteadyClock::sleepMicroseconds(1000);
    }
    const ProofRunner::Status status = runner.status();
    std::cout << "ProofBench: plane " << plane << " by the runner: " << (SteadyClock::microseconds() - started) / 1e6
              << " s";
    if (runner.mode() == ProofRunner::Mode::Sliced)
        std::cout << " in " << frames << " slices (" << frames / 30.0 << " s at 30 frames a second)";
    std::cout << ", " << status.route.size() << " frames" << std::endl;
    return status.state == ProofRunner::State::Found;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool byRunner = argc > 1 && std::string(argv[1]) == "--runner";
    if (byRunner)
        --argc, ++argv;
    const std::string levels = argc > 1 ? argv[1] : LevelLoader::getPath();
    try {
        GamePlay game(levels);
        RouteSearch::Options options = PlaneProof::defaultOptions();
        if (argc > 3) {
            options.maxFrames = std::atoi(argv[2]);
            options.cap = static_cast<std::size_t>(std::atoi(argv[3]));
        }
        const int only = argc > 4 ? std::atoi(argv[4]) : -1;
        double total = 0.0;
        bool allFound = true;
        for (int plane = 0; plane < static_cast<int>(game.planes.size()); ++plane) {
            if (only >= 0 && plane != only)
                continue;
            const PlaneProof::Screens screens = PlaneProof::screensOf(game, plane);
            if (byRunner) {
                allFound = proveByRunner(screens, plane) && allFound;
                continue;
            }
            const std::clock_t started = std::clock();
            PlaneProof proof(screens, options);
            while (proof.advance(1L << 20) == RouteSearch::Status::Searching) {
            }
            const double seconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
            const std::size_t frames = proof.route().size();
            total += seconds;
            allFound = allFound && frames > 0;
            std::cout << "ProofBench: plane " << plane << ": " << seconds << " s, " << frames << " frames, "
                      << proof.framesSearched() << " frames searched" << std::endl;
        }
        if (!byRunner)
            std::cout << "ProofBench: all planes: " << total << " s" << std::endl;
        return allFound ? 0 : 1;
    } catch (const FatalError& error) {
        error.display();
        return 1;
    }
}
