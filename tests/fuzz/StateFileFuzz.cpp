// Journey state files: the bytes become the state file in a state folder of
// the fuzzer's own (XDG_STATE_HOME points into its scratch folder), which
// JourneyFile reads as at every start of the game.

#include "FuzzSupport.h"

#include "shell/JourneyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string stateFile = fuzz::scratchFile("XDG_STATE_HOME", "PlayScaffold", "state");
    fuzz::writeFile(stateFile, data, size);
    JourneyFile file;
    if (file.getPath() != stateFile)
        std::abort();
    JourneyState state;
    if (!file.load(state))
        return 0;
    // Whatever was taken is a state the game can write and read back alike.
    JourneyState again;
    if (state.plane < 0 || state.musicLevel < 0 || state.musicLevel > 10 ||
        !JourneyFile::parse(JourneyFile::format(state), again) || again.plane != state.plane ||
        again.musicLevel != state.musicLevel || again.musicMuted != state.musicMuted)
        std::abort();
    return 0;
}
