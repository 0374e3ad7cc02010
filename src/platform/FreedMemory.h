#pragma once

// Hands the memory the heap holds free back to the system, after a large
// passing use (a proof's tables, tens of MB in thousands of small blocks,
// which an allocator otherwise keeps for good on the thread's own arena).
// Nothing here fails: where the system's allocator cannot give back, it
// does nothing.
class FreedMemory {
public:
    FreedMemory() = delete;

    static void giveBack();
};
