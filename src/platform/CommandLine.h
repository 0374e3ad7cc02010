#pragma once

#include <string>
#include <vector>

// The words the process was started with, the program's name first, as
// UTF-8 text, which is what the rest of the game reads. Cannot fail: where
// the system hands over bytes, they are the words.
class CommandLine {
public:
    CommandLine() = delete;

    // argc and argv as the process entry received them.
    static std::vector<std::string> words(int argc, char** argv);
};
