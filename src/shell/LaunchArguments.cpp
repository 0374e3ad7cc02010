#include "shell/LaunchArguments.h"

#include "platform/FilePath.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

LaunchArguments::LaunchArguments(int argc, char** argv)
{
    launchedByPlatform = argc >= 2 && std::strncmp(argv[1], "-psn", 4) == 0;
    const int kept = launchedByPlatform ? 1 : argc;
    for (int i = 0; i < kept; ++i)
        words.emplace_back(argv[i]);
    for (std::string& word : words)
        pointers.push_back(&word[0]);
    pointers.push_back(nullptr);
}

bool LaunchArguments::setupWorkingDirectory() const
{
    return setupWorkingDirectory(FilePath::getCurrentExecutableDir().path);
}

bool LaunchArguments::setupWorkingDirectory(const std::string& folder) const
{
    if (!launchedByPlatform)
        return true;
    if (folder.empty()) {
        std::cout << "SDLMain: Could not find the application's folder; staying in the working directory."
                  << std::endl;
        return false;
    }
    if (chdir(folder.c_str()) != 0) {
        std::cout << "SDLMain: Could not change the working directory to " << folder << ": "
                  << std::strerror(errno) << std::endl;
        return false;
    }
    return true;
}
