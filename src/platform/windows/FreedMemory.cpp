// The C runtime's heap: _heapmin asks Windows to compact it and give back
// what is free.
#include "platform/FreedMemory.h"

#include <malloc.h>

void FreedMemory::giveBack()
{
    _heapmin();
}
