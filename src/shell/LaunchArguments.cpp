#include "shell/LaunchArguments.h"

#include "platform/FilePath.h"
#include "platform/WorkingDirectory.h"

#include <iostream>

LaunchArguments::LaunchArguments(const std::vector<std::string>& processWords)
{
    launchedByPlatform = processWords.size() >= 2 && processWords[1].compare(0, 4, "-psn") == 0;
    const std::size_t kept = launchedByPlatform ? 1 : processWords.size();
    words.assign(processWords.begin(), processWords.begin() + static_cast<std::ptrdiff_t>(kept));
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
    const std::string problem = WorkingDirectory::enter(folder);
    if (!problem.empty()) {
        std::cout << "SDLMain: Could not change the working directory to " << folder << ": "
                  << problem << std::endl;
        return false;
    }
    return true;
}
