// Ctrl+C, Ctrl+Break and the console's close control reach a Windows program
// as console control events, on a thread of their own that Windows starts;
// SDL's quit event is safe to push from there.
#include "platform/QuitSignals.h"

#include <SDL.h>
#include <windows.h>

namespace {

BOOL WINAPI onConsoleControl(DWORD event)
{
    // Before SDL's events run there is no loop to end in order: the default
    // handler ends the process, as a signal would on Linux at that point.
    SDL_Event quit;
    quit.type = SDL_QUIT;
    if (SDL_PushEvent(&quit) != 0)
        return FALSE;
    // On Ctrl+C and Ctrl+Break the game goes on to its own end. For a console
    // that closes (or a logoff, or a shutdown) Windows ends the process as soon
    // as this returns: waiting here gives the main loop the few seconds Windows
    // allows to keep the journey, and the process ends when the loop does.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

} // namespace

void QuitSignals::install()
{
    SetConsoleCtrlHandler(&onConsoleControl, TRUE);
}
