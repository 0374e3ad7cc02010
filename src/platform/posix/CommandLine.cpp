#include "platform/CommandLine.h"

// A POSIX system hands the words over as bytes in the locale's encoding,
// which on every desktop of today is UTF-8 already.
std::vector<std::string> CommandLine::words(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}
