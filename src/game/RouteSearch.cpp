#include "game/RouteSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>

#include "game/GamePlay.h"
#include "game/LogicalScreen.h"

const RouteSearch::Action RouteSearch::actions[actionCount] = {
    {None, false}, {LeftKey, false}, {RightKey, false}, {None, true}, {LeftKey, true}, {RightKey, true}};

namespace {

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

const float asAtStart = std::numeric_limits<float>::quiet_NaN();

bool isOffScreen(const Player& p) { return p.x < -Player::width || p.x > LogicalScreen::width; }

bool anyBlockBreathes(const Level& level)
{
    return std::any_of(level.blocks.begin(), level.blocks.end(), [](const Block& block) {
        return std::any_of(std::begin(block.scaleKeys), std::end(block.scaleKeys),
                           [&](float key) { return key != block.scaleKeys[0]; });
    });
}

}  // namespace

RouteSearch::Snapshot RouteSearch::take(GamePlay& game)
{
    Snapshot s;
    s.player = game.player;
    s.currentScreen = game.currentScreen;
    s.showTitle = game.showTitle;
    for (int i = 0; i < Plane::screenCount; ++i) {
        const Level& level = *game.planes[game.currentPlane].levels[i];
        s.phases[i] = level.animPhase;
        for (const Block& block : level.blocks)
            s.scales[i].push_back(block.scale);
    }
    return s;
}

void RouteSearch::restore(GamePlay& game, const Snapshot& s)
{
    game.player = s.player;
    game.currentScreen = s.currentScreen;
    game.showTitle = s.showTitle;
    for (int i = 0; i < Plane::screenCount; ++i) {
        Level& level = *game.planes[game.currentPlane].levels[i];
        level.animPhase = s.phases[i];
        for (std::size_t b = 0; b < level.blocks.size() && b < s.scales[i].size(); ++b)
            level.blocks[b].scale = s.scales[i][b];
    }
}

RouteSearch::RouteSearch(GamePlay& game, const Options& options, std::function<bool(GamePlay&)> goal)
    : game(game), options(options), goal(std::move(goal)), root(take(game))
{
    for (int i = 0; i < Plane::screenCount; ++i) {
        const Level& level = *game.planes[game.currentPlane].levels[i];
        breathes[i] = anyBlockBreathes(level);
        if (level.door && doorScreen < 0)
            doorScreen = i;
        appliedScalePhase[i] = bitsOf(asAtStart);
    }
    Node start = nodeOf(game);
    std::fill(std::begin(start.scalePhase), std::end(start.scalePhase), asAtStart);
    frontier.push_back(start);
    links.push_back({0});
    best = Place{start.screen, start.player.x, start.player.y};
    if (options.maxFrames <= 0)
        end(Status::GaveUp);
}

RouteSearch::Node RouteSearch::nodeOf(const GamePlay& game) const
{
    Node n;
    n.player = game.player;
    n.screen = game.currentScreen;
    n.phase = game.planes[game.currentPlane].levels[game.currentScreen]->animPhase;
    return n;
}

// Only what differs from the last state put is written: the scales of a
// screen are set again only when the phase they follow has changed.
void RouteSearch::put(const Node& n)
{
    game.player = n.player;
    game.currentScreen = n.screen;
    game.leftHeld = game.rightHeld = game.downHeld = false;
    Level* const* levels = game.planes[game.currentPlane].levels;
    for (int i = 0; i < Plane::screenCount; ++i) {
        const std::uint32_t wanted = bitsOf(n.scalePhase[i]);
        if (wanted == appliedScalePhase[i])
            continue;
        if (std::isnan(n.scalePhase[i])) {
            const std::vector<float>& scales = root.scales[i];
            for (std::size_t b = 0; b < scales.size(); ++b)
                levels[i]->blocks[b].scale = scales[b];
        } else {
            levels[i]->setScalesAt(n.scalePhase[i]);
        }
        appliedScalePhase[i] = wanted;
    }
    levels[n.screen]->animPhase = n.phase;
}

RouteSearch::Status RouteSearch::advance(long frames)
{
    for (long done = 0; done < frames && outcome == Status::Searching; ++done) {
        if (cursor == frontier.size()) {
            endFrame();
            continue;
        }
        const int action = nextAction;
        const std::size_t index = cursor;
        if (++nextAction == actionCount) {
            nextAction = 0;
            ++cursor;
        }
        expand(index, action);
    }
    return outcome;
}

std::vector<unsigned char> RouteSearch::finish()
{
    while (advance(1L << 20) == Status::Searching) {
    }
    return path;
}

void RouteSearch::expand(std::size_t index, int action)
{
    const Node from = frontier[index];
    const Action keys = actions[action];
    if (keys.up && (options.noJumps || (!options.midAir && !from.player.grounded)))
        return;
    put(from);
    press(game, keys);
    // An up arrow that starts no jump plays as the same keys without it,
    // which are played already. A jump starts at the angle 0, which a frame
    // always moves on.
    if (keys.up && !(game.player.jumping && game.player.jumpAngle == 0.0f))
        return;
    game.update();
    // The frame's breathing set the scales of the screen it began on.
    appliedScalePhase[from.screen] = bitsOf(from.phase);
    if (goal(game)) {
        path.push_back(static_cast<unsigned char>(action));
        for (std::size_t d = depth, n = index; d > 0; --d) {
            const std::uint32_t link = links[d][n];
            path.push_back(static_cast<unsigned char>(link & 7u));
            n = link >> 3;
        }
        std::reverse(path.begin(), path.end());
        end(Status::Found);
        return;
    }
    const Player& p = game.player;
    // Standing still where the blocks breathe is waiting for them: kept
    // frame by frame, however alike.
    const bool waits = action == 0 && p.grounded && from.player.grounded && p.x == from.player.x &&
                       p.y == from.player.y && breathes[game.currentScreen];
    const int to = game.currentScreen;
    const bool wrapped = from.screen != to && from.screen / 2 == to / 2 && (to % 2 == 1 ? p.x > 512 : p.x < 512);
    if ((options.noWrap && wrapped) || (!options.offScreen && isOffScreen(p)))
        return;
    Node reached = nodeOf(game);
    std::copy(std::begin(from.scalePhase), std::end(from.scalePhase), std::begin(reached.scalePhase));
    reached.scalePhase[from.screen] = from.phase;
    const std::uint64_t key = keyOf(reached);
    if (seen.insert(key) || waits) {
        next.push_back(reached);
        nextLinks.push_back(static_cast<std::uint32_t>(index) << 3 | static_cast<std::uint32_t>(action));
        noteReached(reached);
    }
}

void RouteSearch::endFrame()
{
    if (next.size() > options.cap) {
        // Keep an even spread rather than the first ones found; each pick
        // lies at or after the place it moves to.
        for (std::size_t j = 0; j < options.cap; ++j) {
            const std::size_t pick = j * next.size() / options.cap;
            next[j] = next[pick];
            nextLinks[j] = nextLinks[pick];
        }
        next.resize(options.cap);
        nextLinks.resize(options.cap);
    }
    if (options.progress != nullptr && depth % 200 == 0)
        *options.progress << "RouteSearch: frame " << depth << ", " << next.size() << " states" << std::endl;
    links.emplace_back(nextLinks.begin(), nextLinks.end());
    frontier.swap(next);
    next.clear();
    nextLinks.clear();
    cursor = 0;
    nextAction = 0;
    ++depth;
    if (frontier.empty())
        end(Status::NoRoute);
    else if (depth >= options.maxFrames)
        end(Status::GaveUp);
}

void RouteSearch::end(Status status)
{
    outcome = status;
    if (status != Status::Found)
        restore(game, root);
    // What the search kept is of no more use; the route and the place stay.
    std::vector<Node>().swap(frontier);
    std::vector<Node>().swap(next);
    std::vector<std::vector<std::uint32_t>>().swap(links);
    std::vector<std::uint32_t>().swap(nextLinks);
    seen = KeySet();
}

// States alike in screen, position, the top of a jump's arc, whether the
// figure falls, whether a screen change cools down and the screen's phase in
// steps of half a key (25 frames) are merged: the first one the search
// reaches stands for the others, and a state the cap drops is never reached
// again. What is merged away: the fall's speed, a jump's other ticks, the
// phases within a step and the scales other screens keep while off the
// display (a screen entered shows them for a frame). Even a still screen's
// phase stays in the key: merged away there, the search lost the last
// shipped plane within the editor's limits (through the scales kept off the
// display and what the cap then drops).
// The key takes 44 bits, all KeySet keeps apart.
std::uint64_t RouteSearch::keyOf(const Node& node) const
{
    const Player& n = node.player;
    std::uint64_t k = static_cast<std::uint16_t>(n.x);
    k = k * 65536 + static_cast<std::uint16_t>(n.y);
    k = k * 4 + static_cast<std::uint64_t>(node.screen);
    // At the top of a jump's arc the height stays for three ticks, which
    // must not be taken for one state.
    const int tick = static_cast<int>(n.jumpAngle / 0.075f + 0.5f);
    k = k * 8 + (!n.jumping ? 0 : tick >= 19 && tick <= 23 ? tick - 18 : 6);
    k = k * 2 + (n.lastY < n.y ? 1 : 0);
    k = k * 2 + (n.screenChangeCooldown > 0 ? 1 : 0);
    k = k * 32 + static_cast<std::uint64_t>(node.phase * 2.0f) % 32;
    return k;
}

void RouteSearch::noteReached(const Node& node)
{
    const Player& n = node.player;
    if (doorScreen >= 0 && node.screen == doorScreen) {
        const CollisionHull& door = *game.planes[game.currentPlane].levels[doorScreen]->door;
        const int distance = std::abs(n.x + Player::width / 2 - (door.left + door.right) / 2) +
                             std::abs(n.y + Player::height / 2 - (door.top + door.bottom) / 2);
        if (bestOnDoorScreen && distance >= bestDistance)
            return;
        bestOnDoorScreen = true;
        bestDistance = distance;
    } else if (bestOnDoorScreen) {
        return;
    }
    best = Place{node.screen, n.x, n.y};
}

bool RouteSearch::inFrontOfDoor(GamePlay& game)
{
    const Level& level = game.currentLevel();
    if (!level.door)
        return false;
    const CollisionHull& d = *level.door;
    const Player& p = game.player;
    return static_cast<short>(p.x + 8) >= d.left - 16 && static_cast<short>(p.x + 14) <= d.right + 16 &&
           static_cast<short>(p.y + 8) >= d.top - 16 && static_cast<short>(p.y + 52) <= d.bottom + 16;
}

void RouteSearch::press(GamePlay& game, Action action)
{
    game.leftHeld = action.held == LeftKey;
    game.rightHeld = action.held == RightKey;
    if (action.up) {
        SDL_keysym up = {};
        up.sym = SDLK_UP;
        game.keyDown(up);
    }
}

void RouteSearch::play(GamePlay& game, Action action)
{
    press(game, action);
    game.update();
}

std::string RouteSearch::fingerprint(GamePlay& game)
{
    const Player& p = game.player;
    const Level& level = game.currentLevel();
    std::string f;
    const auto put = [&f](const auto& value) { f.append(reinterpret_cast<const char*>(&value), sizeof value); };
    put(game.currentPlane);
    put(game.currentScreen);
    put(p.x);
    put(p.y);
    put(p.lastX);
    put(p.lastY);
    put(p.grounded);
    put(p.fallSpeed);
    put(p.jumping);
    put(p.jumping ? p.jumpAngle : 0.0f);
    put(p.jumping ? p.jumpBaseY : short(0));
    put(p.screenChangeCooldown);
    for (const Block& block : level.blocks)
        put(block.scale);
    put(anyBlockBreathes(level) ? level.animPhase : 0.0f);
    return f;
}
