#include "game/KeySet.h"

namespace {

std::size_t slotOf(std::uint64_t key, std::size_t mask)
{
    key ^= key >> 29;
    key *= 0xbf58476d1ce4e5b9ull;
    key ^= key >> 32;
    return static_cast<std::size_t>(key) & mask;
}

}  // namespace

KeySet::KeySet() : slots(1u << 12, 0) {}

bool KeySet::insert(std::uint64_t key)
{
    // Up to three quarters full: linear probing still finds a key in a few
    // slots, and the table, the search's largest, is a third smaller.
    if (4 * (count + 1) > 3 * slots.size())
        grow();
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = slotOf(key, mask);; i = (i + 1) & mask) {
        if (slots[i] == key + 1)
            return false;
        if (slots[i] == 0) {
            slots[i] = key + 1;
            ++count;
            return true;
        }
    }
}

void KeySet::grow()
{
    std::vector<std::uint64_t> old(slots.size() * 2, 0);
    old.swap(slots);
    const std::size_t mask = slots.size() - 1;
    for (std::uint64_t stored : old) {
        if (stored == 0)
            continue;
        std::size_t i = slotOf(stored - 1, mask);
        while (slots[i] != 0)
            i = (i + 1) & mask;
        slots[i] = stored;
    }
}
