#pragma once

#include "platform/FilePath.h"

#include <vector>

// The folders a system keeps by convention: the player's home and the
// player's own folders for settings, state and data, the folder of the
// running program and the font folders. Only asks: nothing is created, and
// a folder that cannot be found is the empty path.
class KnownFolders {
public:
    KnownFolders() = delete;

    enum class Kind { Settings, State, Data };

    // The one rule for the player's folders, which the settings, the journey
    // and FilePath::getAppDataPath all follow: the folder the system's
    // variable for the kind names when that is an absolute path, else the
    // kind's folder under the home folder; empty without a home folder. A
    // relative value is ignored, as it would depend on where the game started.
    static FilePath user(Kind kind);
    // Empty when the system knows no home folder for the player.
    static FilePath home();
    // The folder holding the running executable; empty when it cannot be found.
    static FilePath program();
    // The player's own font folders first, then the system's.
    static std::vector<FilePath> fonts();
};
