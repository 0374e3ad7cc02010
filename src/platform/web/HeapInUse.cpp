// The page: the bytes the game's heap holds now, for the soak to read from
// the page's script (Module._bvHeapInUse()). The WebAssembly memory only
// ever grows to the heap's highest mark, so what is held now is read from
// the allocator itself; nothing in the game calls this.
#include <malloc.h>

#include <emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE unsigned bvHeapInUse()
{
    return static_cast<unsigned>(mallinfo().uordblks);
}
