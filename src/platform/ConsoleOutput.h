#pragma once

// Where a program opens no console of its own (a Windows program started
// from Explorer shows no console window), its lines still reach the terminal
// it was started from. Output already going somewhere (a file, a pipe, a
// terminal the system handed over) is left there. Fails silently: without a
// terminal to join, the lines go nowhere, as from a double-click they should.
class ConsoleOutput {
public:
    ConsoleOutput() = delete;

    // Once, first thing in the process entry.
    static void attach();
};
