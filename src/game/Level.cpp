#include "game/Level.h"

#include <climits>
#include <cmath>

namespace {

// Truncation toward zero that saturates instead of overflowing, so that an
// absurd scale from a levels file gives an absurd hull, never undefined code.
int truncToInt(float value)
{
    if (!(value > static_cast<float>(INT_MIN)))
        return value != value ? 0 : INT_MIN;
    if (!(value < static_cast<float>(INT_MAX)))
        return INT_MAX;
    return static_cast<int>(value);
}

short inset(float scaledSize)
{
    const short quarter = static_cast<short>(truncToInt(scaledSize * 0.25f));
    return quarter <= 12 ? quarter : static_cast<short>(12);
}

CollisionHull hullOf(const Block& block)
{
    const float w = BlockTypes::widthOf(block.type);
    const float h = BlockTypes::heightOf(block.type);
    const float s = block.scale;
    const short x0 = static_cast<short>(truncToInt(block.x + (w - w * s) * 0.5f));
    const short y0 = static_cast<short>(truncToInt(block.y + (h - h * s) * 0.5f));
    const short mx = inset(w * s);
    const short my = inset(h * s);
    CollisionHull hull;
    hull.left = static_cast<short>(x0 + mx);
    hull.top = static_cast<short>(y0 + my);
    // In 64 bits: a scaled size near INT_MAX less a negative inset overflows int.
    hull.right = static_cast<short>(x0 + static_cast<long long>(truncToInt(w * s)) - mx);
    hull.bottom = static_cast<short>(y0 + static_cast<long long>(truncToInt(h * s)) - my);
    if (hull.right < hull.left)
        hull.right = hull.left;
    if (hull.bottom < hull.top)
        hull.bottom = hull.top;
    return hull;
}

}  // namespace

void Level::setDoor(short x, short y)
{
    CollisionHull rect;
    rect.left = x;
    rect.right = static_cast<short>(x + 58);
    rect.top = y;
    rect.bottom = static_cast<short>(y + 72);
    door = rect;
}

void Level::addBlock(const Block& block)
{
    blocks.push_back(block);
    hulls.push_back(CollisionHull());
}

void Level::clearBlocks()
{
    blocks.clear();
    hulls.clear();
}

const std::vector<CollisionHull>& Level::getHulls()
{
    if (hulls.size() != blocks.size() || hullSources.size() != blocks.size()) {
        hulls.resize(blocks.size());
        hullSources.assign(blocks.size(), HullSource{0, 0, 0, std::nanf("")});
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = blocks[i];
        HullSource& source = hullSources[i];
        if (source.scale == block.scale && source.x == block.x && source.y == block.y && source.type == block.type)
            continue;
        hulls[i] = hullOf(block);
        source = HullSource{block.x, block.y, block.type, block.scale};
    }
    return hulls;
}

void Level::setScalesAt(float phase)
{
    const int i0 = static_cast<int>(phase);
    const int i1 = i0 + 1 < Block::keyCount ? i0 + 1 : 0;
    const float f = phase - static_cast<float>(i0);
    if (i0 >= 0 && i0 < Block::keyCount) {
        for (Block& block : blocks)
            block.scale = (1.0f - f) * block.scaleKeys[i0] + f * block.scaleKeys[i1];
    }
}

void Level::tick()
{
    const float p = animPhase;
    setScalesAt(p);
    float next = p + phaseStep;
    if (next >= 16.0f)
        next -= 16.0f;
    animPhase = next;
}
