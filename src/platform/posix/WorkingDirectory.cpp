#include "platform/WorkingDirectory.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

std::string WorkingDirectory::enter(const std::string& folder)
{
    return chdir(folder.c_str()) == 0 ? std::string() : std::strerror(errno);
}
