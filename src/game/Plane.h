#pragma once

class Level;

// Four screens in a 2 x 2 arrangement: 0 and 1 the upper row, 2 and 3 the
// lower row. A plain value: copying it copies the references, never the
// screens, which belong to whoever took them over from the loader.
class Plane {
public:
    static constexpr int screenCount = 4;

    Level* levels[screenCount] = {nullptr, nullptr, nullptr, nullptr};
};
