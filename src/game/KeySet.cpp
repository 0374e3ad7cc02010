#include "game/KeySet.h"

namespace {

constexpr int tableBits = KeySet::keyBits - 31;
constexpr std::uint64_t keyMask = (std::uint64_t{1} << KeySet::keyBits) - 1;

// A mix of the key's bits that is one-to-one below 2^44 (odd multipliers
// and shifts to the right, each modulo 2^44), so that a table and the 31
// bits kept in it tell the key apart from every other.
std::uint64_t mixed(std::uint64_t key)
{
    key = key * 0xbf58476d1ce4e5b9ull & keyMask;
    key ^= key >> 22;
    key = key * 0x94d049bb133111ebull & keyMask;
    key ^= key >> 21;
    return key;
}

}  // namespace

KeySet::KeySet() : tables(std::size_t{1} << tableBits) {}

bool KeySet::insert(std::uint64_t key)
{
    const std::uint64_t hash = mixed(key);
    Table& table = tables[hash >> 31];
    // Up to three quarters full: linear probing still finds a key in a few
    // slots.
    if (4 * (table.count + 1) > 3 * table.slots.size())
        grow(table);
    const std::uint32_t stored = static_cast<std::uint32_t>(hash & 0x7fffffffu) + 1;
    const std::size_t mask = table.slots.size() - 1;
    for (std::size_t i = stored & mask;; i = (i + 1) & mask) {
        if (table.slots[i] == stored)
            return false;
        if (table.slots[i] == 0) {
            table.slots[i] = stored;
            ++table.count;
            ++count;
            return true;
        }
    }
}

void KeySet::grow(Table& table)
{
    std::vector<std::uint32_t> old(table.slots.empty() ? 16 : table.slots.size() * 2, 0);
    old.swap(table.slots);
    const std::size_t mask = table.slots.size() - 1;
    for (const std::uint32_t stored : old) {
        if (stored == 0)
            continue;
        std::size_t i = stored & mask;
        while (table.slots[i] != 0)
            i = (i + 1) & mask;
        table.slots[i] = stored;
    }
}
