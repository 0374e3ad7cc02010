#include <gtest/gtest.h>

#include "game/PlaneProof.h"
#include "GamePlayTestSupport.h"

namespace {

RouteSearch::Status proveToEnd(PlaneProof& proof)
{
    while (proof.advance(100000) == RouteSearch::Status::Searching) {
    }
    return proof.status();
}

}  // namespace

// Each shipped plane, proven as the editor proves it, and its route played
// through a game of the plane's screens frame by frame, painted: the figure
// first stands in front of the door on the route's last frame, and the down
// arrow then takes it through.
TEST(PlaneProofTest, EveryShippedPlaneHasARouteTheGameWalksToTheDoor)
{
    const GamePlay shipped;
    for (int plane = 0; plane < static_cast<int>(shipped.planes.size()); ++plane) {
        const PlaneProof::Screens screens = PlaneProof::screensOf(shipped, plane);
        PlaneProof proof(screens);
        ASSERT_EQ(proveToEnd(proof), RouteSearch::Status::Found) << "plane " << plane;
        const std::vector<RouteSearch::Action> route = proof.route();
        ASSERT_FALSE(route.empty());
        const std::unique_ptr<GamePlay> game = PlaneProof::gameAtStart(screens);
        int arrived = -1;
        for (std::size_t frame = 0; frame < route.size() && arrived < 0; ++frame) {
            RouteSearch::press(*game, route[frame]);
            playFrame(*game);
            if (RouteSearch::inFrontOfDoor(*game))
                arrived = static_cast<int>(frame);
        }
        EXPECT_EQ(arrived + 1, static_cast<int>(route.size())) << "plane " << plane;
        press(*game, SDLK_DOWN);
        playFrame(*game);
        EXPECT_LT(game->endFade, 1.0f) << "plane " << plane << ": the door was not taken";
    }
}

// Planes without the block that teaches their idea, the block held at its
// first key: every place the figure can reach is played on, none leads to
// the door, and the place the search got furthest lies on the plane, away
// from the start.
TEST(PlaneProofTest, APlaneWithoutItsTeachingBlockHasNoRoute)
{
    struct Variant {
        int plane, screen, block;
        const char* idea;
    };
    const Variant variants[] = {{2, 0, 3, "the hanging pillar"}, {8, 0, 4, "the hanging pillar"}};
    const GamePlay shipped;
    for (const Variant& v : variants) {
        PlaneProof::Screens screens = PlaneProof::screensOf(shipped, v.plane);
        Block& block = screens[v.screen].blocks[v.block];
        std::fill(std::begin(block.scaleKeys), std::end(block.scaleKeys), block.scaleKeys[0]);
        PlaneProof proof(screens);
        EXPECT_EQ(proveToEnd(proof), RouteSearch::Status::NoRoute) << v.idea;
        EXPECT_TRUE(proof.route().empty()) << v.idea;
        const RouteSearch::Place furthest = proof.furthest();
        EXPECT_TRUE(furthest.screen >= 0 && furthest.screen < Plane::screenCount) << v.idea;
        EXPECT_NE(std::make_pair(furthest.x, furthest.y), std::make_pair(screens[0].playerX, screens[0].playerY))
            << v.idea;
    }
}
