// Plays an input script through the real game against a levels file and
// prints the frame at which each plane is entered and when the end begins.
//   BrickVoyagerWalkthrough [--trace] SCRIPT [LEVELS_FILE]
// --trace also prints every screen change and every jump.
// Exits 0 when the script reaches the end, 1 when it does not, 2 on bad input.
#include <bitset>
#include <fstream>
#include <iostream>

#include "FatalError.h"
#include "Walkthrough.h"

int main(int argc, char** argv)
{
    const bool trace = argc > 1 && std::string(argv[1]) == "--trace";
    if (trace) {
        --argc;
        ++argv;
    }
    if (argc < 2 || argc > 3) {
        std::cout << "usage: BrickVoyagerWalkthrough [--trace] SCRIPT [LEVELS_FILE]" << std::endl;
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cout << "Walkthrough: Could not open " << argv[1] << std::endl;
        return 2;
    }
    Walkthrough::Script script;
    std::string error;
    if (!Walkthrough::parseScript(in, script, error)) {
        std::cout << "Walkthrough: " << argv[1] << ", " << error << std::endl;
        return 2;
    }
    try {
        GamePlay game(argc == 3 ? argv[2] : LevelLoader::getPath());
        const Walkthrough::Report report = Walkthrough::play(game, script, trace ? &std::cout : nullptr);
        for (std::size_t plane = 0; plane < report.planeEntered.size(); ++plane)
            std::cout << "plane " << plane << " entered at frame " << report.planeEntered[plane]
                      << ", screens shown: " << std::bitset<4>(report.screensSeen[plane]).count()
                      << " of 4" << std::endl;
        std::cout << "planes: " << report.planeEntered.size() << " of " << game.planes.size()
                  << ", frames played: " << report.frames << std::endl;
        if (report.endBegins < 0) {
            std::cout << "the end is not reached (plane " << game.currentPlane << ", screen "
                      << game.currentScreen << ", figure at " << game.player.x << ", "
                      << game.player.y << ")" << std::endl;
            return 1;
        }
        std::cout << "the end begins at frame " << report.endBegins << std::endl;
        if (report.grey >= 0)
            std::cout << "plain grey from frame " << report.grey << std::endl;
        return 0;
    } catch (const FatalError& error) {
        error.display();
        return 2;
    }
}
