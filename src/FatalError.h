#pragma once

#include <string>

// Ends start-up with a message. The entry function catches it, prints the
// message and ends the process with exitStatus: 1 for a real failure (so that
// launchers and scripts can see it), 0 where stopping is what was asked for,
// as with "--help".
class FatalError {
public:
    explicit FatalError(const std::string& message, int exitStatus = 1)
        : message(message), exitStatus(exitStatus) {}

    // Writes the message and a newline to standard output, and flushes.
    void display() const;

    std::string message;
    int exitStatus;
};
