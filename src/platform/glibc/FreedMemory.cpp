// GNU libc's allocator gives back only the top of the main heap by itself;
// malloc_trim also releases the free pages inside every arena, a thread's
// included.
#include "platform/FreedMemory.h"

#include <malloc.h>

void FreedMemory::giveBack()
{
    malloc_trim(0);
}
