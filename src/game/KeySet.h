#pragma once

#include <cstdint>
#include <vector>

// A set of 64-bit keys below 2^63 in one open-addressed table, for the route
// search's states seen: no allocation per key, only when the table doubles.
// Nothing here fails but the allocation when it grows.
class KeySet {
public:
    KeySet();
    // True when the key was not in the set before.
    bool insert(std::uint64_t key);
    std::size_t size() const { return count; }

private:
    void grow();

    std::vector<std::uint64_t> slots;  // key + 1; 0 is an empty slot
    std::size_t count = 0;
};
