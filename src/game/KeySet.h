#pragma once

#include <cstdint>
#include <vector>

// A set of keys below 2^44 (the route search's states seen), in 8192 small
// open-addressed tables picked by the key's hash, each keeping 31 bits of
// it in 4 bytes a slot: half the memory of whole keys, and a table grows
// alone, so growing never holds the whole set twice. No allocation per key;
// nothing here fails but the allocation when a table grows.
class KeySet {
public:
    static constexpr int keyBits = 44;

    KeySet();
    // True when the key was not in the set before.
    bool insert(std::uint64_t key);
    std::size_t size() const { return count; }

private:
    struct Table {
        std::vector<std::uint32_t> slots;  // the hash's low 31 bits + 1; 0 is an empty slot
        std::size_t count = 0;
    };
    static void grow(Table& table);

    std::vector<Table> tables;
    std::size_t count = 0;
};
