#pragma once

// An axis-aligned rectangle by its four edges in display units. A hull with
// left == right or top == bottom is degenerate: it neither holds nor blocks
// the figure. Doors use the same type.
class CollisionHull {
public:
    bool isDegenerate() const { return left == right || top == bottom; }

    short left = 0;
    short right = 0;
    short top = 0;
    short bottom = 0;
};
