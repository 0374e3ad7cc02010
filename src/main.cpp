// The entry function: builds the Application from the command line, runs it
// until the player quits and reports a start-up failure. The exit status is
// the FatalError's: 1 when the game could not start, 0 for "--help".
#include "FatalError.h"
#include "shell/Application.h"

#include <memory>
#include <string>
#include <vector>

extern "C" int SDL_main(int argc, char** argv)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    try {
        // On the heap: the music's buffers alone take a quarter of a megabyte.
        auto application = std::make_unique<Application>(words);
        application->eventLoop();
    } catch (const FatalError& error) {
        const FatalError copy(error);
        copy.display();
        return copy.exitStatus;
    }
    return 0;
}
