#include "GamePlay.h"

#include <cstdint>
#include <ctime>

#include "FatalError.h"
#include "VellumDrawingLib/Drawer.h"

namespace {

// Screen reached from each screen: after a fall, after a sideways exit.
constexpr int screenAfterDown[Plane::screenCount] = {2, 3, 0, 1};
constexpr int screenAfterSideways[Plane::screenCount] = {1, 0, 3, 2};

// A door can be entered from up to this far around its rectangle.
constexpr short doorReach = 16;

}  // namespace

GamePlay::GamePlay() : loader()
{
    start();
}

GamePlay::GamePlay(const std::string& levelsPath) : loader(levelsPath)
{
    start();
}

void GamePlay::start()
{
    if (loader.planes.empty())
        throw FatalError("LevelLoader: The levels file " + loader.path +
                         " holds no plane; the game needs at least one.");
    showTitle = true;
    endFade = 1.0f;
    randomSeed = static_cast<int>(std::time(nullptr));
    randomLevels = false;
    planes = loader.planes;
    ownedLevels = loader.takeLevels();
    player.setGamePlay(this);
    placeAtStart(*planes[0].levels[0]);
}

// The start also becomes the last frame's position: the sideways move and the
// landing test work from it, and a stale one would move the figure to the
// height it had before (0 at the very start) when an arrow is held.
void GamePlay::placeAtStart(const Level& first)
{
    player.setPosition(first.playerX, first.playerY);
    player.setLastPosition(player.x, player.y);
}

void GamePlay::keyDown(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_LEFT:
        leftHeld = true;
        break;
    case SDLK_RIGHT:
        rightHeld = true;
        break;
    case SDLK_DOWN:
        downHeld = true;
        break;
    case SDLK_UP:
        tryJump();
        break;
    default:
        break;
    }
}

void GamePlay::keyUp(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_LEFT:
        leftHeld = false;
        break;
    case SDLK_RIGHT:
        rightHeld = false;
        break;
    case SDLK_DOWN:
        downHeld = false;
        break;
    default:
        break;
    }
}

// A jump starts when the feet are within 3 units of any hull's top edge,
// wherever that hull lies across the screen.
void GamePlay::tryJump()
{
    const short feet = static_cast<short>(player.y + Player::height);
    for (const CollisionHull& hull : currentLevel().getHulls()) {
        if (hull.top - 4 < feet && feet < hull.top + 4) {
            player.jump();
            return;
        }
    }
}

void GamePlay::draw(Drawer* drawer)
{
    update();
    render(drawer);
}

void GamePlay::update()
{
    Level& screen = currentLevel();
    frameLevel = &screen;
    const std::vector<CollisionHull>& hulls = screen.getHulls();
    enterDoorIfAsked(screen);
    currentLevel().tick();
    moveSideways(hulls);
    player.tick();
    collisionDetection();
    player.setLastPosition(player.x, player.y);
}

void GamePlay::render(Drawer* /*drawer*/)
{
    // The painting of the frame comes with the game's images.
}

void GamePlay::enterDoorIfAsked(const Level& screen)
{
    if (!downHeld || !screen.door)
        return;
    const CollisionHull& rect = *screen.door;
    const bool inFront = static_cast<short>(player.x + 8) >= rect.left - doorReach &&
                         static_cast<short>(player.x + 14) <= rect.right + doorReach &&
                         static_cast<short>(player.y + 8) >= rect.top - doorReach &&
                         static_cast<short>(player.y + 52) <= rect.bottom + doorReach;
    if (!inFront)
        return;
    if (currentPlane + 1 < static_cast<int>(planes.size())) {
        currentScreen = 0;
        currentPlane += 1;
        placeAtStart(*planes[currentPlane].levels[0]);
        player.cancelJump();
    } else {
        endFade = 0.999f;
    }
}

// Walks the figure unless its box, moved and at last frame's height, would
// overlap the inside of a solid hull.
void GamePlay::moveSideways(const std::vector<CollisionHull>& hulls)
{
    if (!leftHeld && !rightHeld)
        return;
    const short step = player.jumping ? 8 : 4;
    short nx = player.x;
    if (leftHeld && !rightHeld)
        nx = static_cast<short>(player.x - step);
    else if (rightHeld && !leftHeld)
        nx = static_cast<short>(player.x + step);
    const short ny = player.lastY;
    for (const CollisionHull& hull : hulls) {
        if (!hull.isDegenerate() && nx + Player::width > hull.left && nx < hull.right &&
            ny + Player::height > hull.top && ny < hull.bottom)
            return;
    }
    player.setPosition(nx, ny);
}

void GamePlay::collisionDetection()
{
    const std::vector<CollisionHull>& hulls = currentLevel().getHulls();
    const short px = player.x;
    const short pr = static_cast<short>(player.x + Player::width);
    const short feet = static_cast<short>(player.y + Player::height);
    const short lastY = player.lastY;
    bool grounded = false;
    for (const CollisionHull& hull : hulls) {
        const bool across = pr > hull.left && px < hull.right && hull.bottom - hull.top > 0;
        if (feet > hull.top && lastY < hull.top && across) {
            player.setPosition(px, static_cast<short>(hull.top - Player::height));
            grounded = true;
        } else if (feet == hull.top && across) {
            grounded = true;
        }
    }
    player.setGrounded(grounded);
    if (!grounded)
        player.applyGravity();
}

void GamePlay::useRandomLevels()
{
    randomLevels = true;
    newLevel(Right);
}

void GamePlay::newLevel(LevelDir dir)
{
    showTitle = false;
    if (randomLevels) {
        fillRandomScreen();
        return;
    }
    currentScreen = dir == Down ? screenAfterDown[currentScreen] : screenAfterSideways[currentScreen];
    currentLevel().reset();
}

double GamePlay::noise()
{
    // Wrapping 32-bit arithmetic, done unsigned so that it is defined.
    const std::uint32_t n = static_cast<std::uint32_t>(randomSeed) + 1u;
    randomSeed = static_cast<int>(n);
    const std::uint32_t m = (n << 13) ^ n;
    const std::uint32_t r = (m * (m * m * 15731u + 789221u) + 1376312589u) & 0x7fffffffu;
    return 1.0 - static_cast<double>(r) / 1073741824.0;
}

float GamePlay::unitNoise()
{
    return (static_cast<float>(noise()) + 1.0f) * 0.5f;
}

// Screen 0 of plane 0 gets 4 to 7 fresh blocks; its door and start stay.
void GamePlay::fillRandomScreen()
{
    Level& target = *planes[0].levels[0];
    const int count = static_cast<int>(unitNoise() * 4.0f) + 4;
    target.clearBlocks();
    for (int i = 0; i < count; ++i) {
        Block block;
        block.x = static_cast<short>(unitNoise() * 768.0f);
        block.y = static_cast<short>(unitNoise() * 512.0f);
        block.type = static_cast<int>(unitNoise() * 3.49f);
        block.setSizeFromType();
        block.scaleKeys[0] = unitNoise() * 1.5f;
        for (int k = 1; k < Block::keyCount; ++k) {
            const float u = unitNoise();
            block.scaleKeys[k] = u > 0.66f ? unitNoise() * 1.5f : block.scaleKeys[k - 1];
        }
        block.scale = block.scaleKeys[0];
        target.addBlock(block);
    }
}
