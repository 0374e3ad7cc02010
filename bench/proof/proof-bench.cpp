// Proves each plane of a levels file finishable as the editor does (the
// route search over the plane's four screens, from its start to its door)
// and prints one line per plane: the CPU time the proof took and the frames
// of the route found (0: none).
//   BrickVoyagerProofBench [LEVELS_FILE [MAX_FRAMES CAP [PLANE]]]
// The levels file defaults to the one beside the executable, the limits to
// the editor's; PLANE proves that plane alone. Exits 1 when a plane has no
// route.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "FatalError.h"
#include "game/LevelLoader.h"
#include "game/PlaneProof.h"

int main(int argc, char** argv)
{
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
            PlaneProof::Screens screens;
            for (int i = 0; i < Plane::screenCount; ++i)
                screens[i] = *game.planes[plane].levels[i];
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
        std::cout << "ProofBench: all planes: " << total << " s" << std::endl;
        return allFound ? 0 : 1;
    } catch (const FatalError& error) {
        error.display();
        return 1;
    }
}
