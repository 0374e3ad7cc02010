#pragma once

#include "Canvas.h"

// The player's figure, 22 x 60 pixels, facing right: a round head with a
// small nose, a slim body and limbs of tapered strokes, its feet on the bottom
// row. The far arm and leg are a lighter ink, so a stride reads at this size.
class Figure {
public:
    enum class Pose { Stand, StandBreathIn, WalkPassing, WalkNearLegAhead, WalkFarLegAhead };

    static constexpr int width = 22;
    static constexpr int height = 60;

    static Canvas draw(Pose pose);
};
