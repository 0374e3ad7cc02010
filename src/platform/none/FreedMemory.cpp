// An allocator that gives back what it can by itself, or a memory that
// never shrinks (the page's WebAssembly memory): nothing to ask.
#include "platform/FreedMemory.h"

void FreedMemory::giveBack() {}
