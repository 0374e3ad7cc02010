// Proves each plane of a levels file finishable with the route search, from
// the plane's start to its door, and prints one line per plane: the CPU
// time the proof took and the frames of the route found (0: none).
//   BrickVoyagerProofBench [LEVELS_FILE]
// The levels file defaults to the one beside the executable. Exits 1 when a
// plane has no route.
#include <ctime>
#include <iostream>
#include <string>

#include "FatalError.h"
#include "RouteSearch.h"

int main(int argc, char** argv)
{
    const std::string levels = argc > 1 ? argv[1] : LevelLoader::getPath();
    try {
        GamePlay probe(levels);
        const int planes = static_cast<int>(probe.planes.size());
        double total = 0.0;
        bool allFound = true;
        for (int plane = 0; plane < planes; ++plane) {
            GamePlay game(levels);
            game.beginOnPlane(plane);
            RouteSearch::Options options;
            const std::clock_t started = std::clock();
            const std::size_t frames = RouteSearch::search(game, options, RouteSearch::inFrontOfDoor).size();
            const double seconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
            total += seconds;
            allFound = allFound && frames > 0;
            std::cout << "ProofBench: plane " << plane << ": " << seconds << " s, " << frames << " frames"
                      << std::endl;
        }
        std::cout << "ProofBench: all planes: " << total << " s" << std::endl;
        return allFound ? 0 : 1;
    } catch (const FatalError& error) {
        error.display();
        return 1;
    }
}
