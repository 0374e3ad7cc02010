// The process entry on a platform without Cocoa: hands the argument words to
// SDL_main and ends with its result. Quit requests from the platform (SIGINT,
// SIGTERM) need nothing here: SDL turns them into SDL_QUIT once its video part
// runs, and the main loop ends on that as on the window's close control.
#include "shell/LaunchArguments.h"

int SDL_main(int argc, char** argv);

int main(int argc, char** argv)
{
    LaunchArguments arguments(argc, argv);
    arguments.setupWorkingDirectory();
    return SDL_main(arguments.argc(), arguments.argv());
}
