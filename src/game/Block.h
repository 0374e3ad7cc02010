#pragma once

#include "game/BlockTypes.h"

// One solid, breathing rectangle of a screen: a plain value copied into its
// Level. Its size comes from its type; a type outside 0..3 has size 0 and so
// neither shows nor holds the figure.
class Block {
public:
    static constexpr int keyCount = 16;

    // Fills width and height from the type table (0 for an unknown type).
    void setSizeFromType()
    {
        width = BlockTypes::width16Of(type);
        height = BlockTypes::height16Of(type);
    }

    short x = 0;  // left edge at scale 1
    short y = 0;  // top edge at scale 1
    short width = 0;
    short height = 0;
    int type = 0;
    float scale = 1.0f;  // the block is scaled about its centre
    float scaleKeys[keyCount] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
};
