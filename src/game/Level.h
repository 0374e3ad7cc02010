#pragma once

#include <optional>
#include <vector>

#include "game/Block.h"
#include "game/CollisionHull.h"

// One screen: its breathing blocks, the collision hulls derived from them, an
// optional door and the figure's start. Nothing here can fail; a block that
// has shrunk to nothing (or has an unknown type) yields a degenerate hull.
class Level {
public:
    // Restarts the breathing; the scales follow on the next tick().
    void reset() { animPhase = 0.0f; }
    // The 58 x 72 door rectangle with its top-left corner at (x, y).
    void setDoor(short x, short y);
    void setPlayerPos(short x, short y)
    {
        playerX = x;
        playerY = y;
    }
    void addBlock(const Block& block);
    // Empties the blocks and hulls; door, start and phase stay.
    void clearBlocks();
    // Brings every hull up to its block's current place, type and scale
    // (making again only those whose block changed: the rules ask several
    // times a frame). The reference stays valid until blocks are added or
    // cleared.
    const std::vector<CollisionHull>& getHulls();
    // One frame of breathing: scales from the phase, then the phase advances.
    void tick();
    // The scales tick() gives at the phase, the phase itself left alone.
    void setScalesAt(float phase);

    static constexpr float phaseStep = 0.02f;

    std::vector<Block> blocks;
    std::vector<CollisionHull> hulls;  // same length and order as blocks
    float animPhase = 0.0f;            // in [0, 16)
    std::optional<CollisionHull> door;
    short playerX = 0;
    short playerY = 0;

private:
    // What each hull was last made from; a NaN scale makes it again.
    struct HullSource {
        short x;
        short y;
        int type;
        float scale;
    };
    std::vector<HullSource> hullSources;
};
