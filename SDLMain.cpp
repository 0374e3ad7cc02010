// The process entry on a platform without Cocoa: hands the argument words to
// SDL_main and ends with its result. Quit requests from the system (Ctrl+C,
// a termination request) end the main loop as the window's close control
// does, once QuitSignals has made them SDL's quit event. A program that opens
// no console of its own joins its terminal's first, so that every line the
// game writes reaches it.
#include "platform/CommandLine.h"
#include "platform/ConsoleOutput.h"
#include "platform/QuitSignals.h"
#include "shell/LaunchArguments.h"

// C linkage, as SDL's own headers declare it where they rename main.
extern "C" int SDL_main(int argc, char** argv);

int main(int argc, char** argv)
{
    ConsoleOutput::attach();
    QuitSignals::install();
    LaunchArguments arguments(CommandLine::words(argc, argv));
    arguments.setupWorkingDirectory();
    return SDL_main(arguments.argc(), arguments.argv());
}
