#pragma once

#include <string>

// The process's working directory, which relative paths start from. A
// change that fails leaves it where it was and says why.
class WorkingDirectory {
public:
    WorkingDirectory() = delete;

    // Empty when folder is now the working directory, else why not in the
    // system's words ("No such file or directory").
    static std::string enter(const std::string& folder);
};
