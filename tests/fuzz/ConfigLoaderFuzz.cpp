// Settings files: the bytes become PlayScaffold.conf in a settings folder of
// the fuzzer's own (XDG_CONFIG_HOME points into its scratch folder), which
// ConfigLoader reads as at every start of the game.

#include "FuzzSupport.h"

#include "shell/ConfigLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string settingsFile = fuzz::scratchFile("XDG_CONFIG_HOME", "PlayScaffold", "PlayScaffold.conf");
    fuzz::writeFile(settingsFile, data, size);
    const ConfigLoader config;
    // The audio system name is the rest of one line, which is cut at its limit.
    if (config.audioApi.size() > ConfigLoader::maxLineLength)
        std::abort();
    return 0;
}
