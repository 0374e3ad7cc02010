#include "game/PlaneProof.h"

RouteSearch::Options PlaneProof::defaultOptions()
{
    RouteSearch::Options options;
    options.maxFrames = 2000;
    options.cap = 3000;
    return options;
}

PlaneProof::PlaneProof(const Screens& screens, const RouteSearch::Options& options)
    : game(gameAtStart(screens)), search(*game, options, RouteSearch::inFrontOfDoor)
{
}

PlaneProof::Screens PlaneProof::screensOf(const GamePlay& game, int plane)
{
    Screens screens;
    for (int i = 0; i < Plane::screenCount; ++i)
        screens[i] = *game.planes[plane].levels[i];
    return screens;
}

std::unique_ptr<GamePlay> PlaneProof::gameAtStart(const Screens& screens)
{
    std::vector<std::unique_ptr<Level>> copies;
    for (const Level& screen : screens) {
        copies.push_back(std::make_unique<Level>(screen));
        Level& copy = *copies.back();
        copy.reset();
        for (Block& block : copy.blocks)
            block.scale = block.scaleKeys[0];
    }
    return std::make_unique<GamePlay>(std::move(copies));
}

std::vector<RouteSearch::Action> PlaneProof::route() const
{
    std::vector<RouteSearch::Action> keys;
    for (unsigned char action : search.route())
        keys.push_back(RouteSearch::actions[action]);
    return keys;
}
