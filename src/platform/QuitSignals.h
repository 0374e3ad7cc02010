#pragma once

// The system's ways of asking a program started from a terminal to stop
// (Ctrl+C, a termination request, the console closing) end the game as
// Escape does: they arrive as SDL's quit event, the loop ends and the
// journey is kept. Nothing here reports a failure; without it such a request
// ends the process at once, as it would any program.
class QuitSignals {
public:
    QuitSignals() = delete;

    // Once, at the start of the process entry.
    static void install();
};
