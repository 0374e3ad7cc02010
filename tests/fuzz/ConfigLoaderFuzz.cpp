// Settings files: the bytes become PlayScaffold.conf in a settings folder of
// the fuzzer's own (XDG_CONFIG_HOME points into its scratch folder), which
// ConfigLoader reads as at every start of the game.

#include "FuzzSupport.h"

#include "ConfigLoader.h"

#include <cstdlib>
#include <sys/stat.h>

namespace {
std::string settingsFile;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::quietStandardOutput();
    const std::string& home = fuzz::scratchFolder();
    const std::string folder = home + "/PlayScaffold";
    if (home.empty() || (mkdir(folder.c_str(), 0755) != 0) ||
        setenv("XDG_CONFIG_HOME", home.c_str(), 1) != 0)
        std::abort();
    settingsFile = folder + "/PlayScaffold.conf";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz::writeFile(settingsFile, data, size))
        std::abort();
    const ConfigLoader config;
    // The audio system name is the rest of one line, which is cut at its limit.
    if (config.audioApi.size() > ConfigLoader::maxLineLength)
        std::abort();
    return 0;
}
