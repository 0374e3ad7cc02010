#pragma once

#include <string>
#include <vector>

// The argument words the process entry hands on to SDL_main. A first word
// beginning with "-psn" is the mark of a launch by the platform's application
// launcher: then only the program name goes on, and the working directory
// becomes the folder that holds the application. A directory that cannot be
// entered is reported in one line and the start goes on where it was.
class LaunchArguments {
public:
    // The process's words, the program's name first (CommandLine::words).
    explicit LaunchArguments(const std::vector<std::string>& processWords);
    LaunchArguments(const LaunchArguments&) = delete;
    LaunchArguments& operator=(const LaunchArguments&) = delete;

    int argc() const { return static_cast<int>(words.size()); }
    // The words as C strings, ending with a null entry; owned by this object.
    char** argv() { return pointers.data(); }
    bool platformLaunch() const { return launchedByPlatform; }

    // On a platform launch, changes to folder (by default the folder that
    // holds the application); otherwise does nothing. False only when the
    // change was wanted and failed.
    bool setupWorkingDirectory(const std::string& folder) const;
    bool setupWorkingDirectory() const;

private:
    std::vector<std::string> words;
    std::vector<char*> pointers;
    bool launchedByPlatform = false;
};
