// The page: the player's folders are a copy, in memory, of what the browser
// keeps in IndexedDB; the page mounts it before the game starts and its
// Module.bvSaved hands the copy back (page.js). A page without that hook
// keeps the files for the visit only.
#include "platform/StorageSync.h"

#include <emscripten.h>

void StorageSync::afterWrite(const FilePath&)
{
    EM_ASM({
        if (Module.bvSaved)
            Module.bvSaved();
    });
}
