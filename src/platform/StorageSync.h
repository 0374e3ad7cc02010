#pragma once

#include "platform/FilePath.h"

// Where the file system the game writes to is only a copy of the storage
// that lasts (a browser's, which keeps files between visits), a file just
// written must be handed on to that storage, or the next start would not
// find it. Nothing here fails loudly: a hand-on that fails keeps the copy.
class StorageSync {
public:
    StorageSync() = delete;

    // After file has been written whole.
    static void afterWrite(const FilePath& file);
};
