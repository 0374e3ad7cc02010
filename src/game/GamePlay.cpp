#include "game/GamePlay.h"

#include <cstdint>
#include <ctime>

#include "FatalError.h"
#include "game/LogicalScreen.h"
#include "Images.h"
#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/EmbeddedImage.h"

namespace {

// Screen reached from each screen: after a fall, after a sideways exit.
constexpr int screenAfterDown[Plane::screenCount] = {2, 3, 0, 1};
constexpr int screenAfterSideways[Plane::screenCount] = {1, 0, 3, 2};

// A door can be entered from up to this far around its rectangle.
constexpr short doorReach = 16;

constexpr float displayWidth = LogicalScreen::width;
constexpr float displayHeight = LogicalScreen::height;
constexpr int animFrames = 12;    // animFrame runs 0..11
constexpr int walkFrames = 37;    // walkFrame runs 0..36
constexpr float fadeStep = 0.005f;  // both fades take about 200 frames

// The walking cycle: the first walkFrame of each run and the image shown
// from there on.
enum class Pose { Walk1, Walk2, Walk3, Stand1 };
struct WalkRun {
    int from;
    Pose pose;
};
constexpr WalkRun walkCycle[] = {{0, Pose::Walk1},  {6, Pose::Walk2},  {12, Pose::Stand1},
                                 {18, Pose::Walk1}, {24, Pose::Walk3}, {30, Pose::Stand1}};

// A shake of -1, 0 or 1 units (2 only for a unit value of exactly 1).
float jitter(float unit) { return static_cast<float>(static_cast<int>(unit * 4.0f - 2.0f)); }

}  // namespace

GamePlay::GamePlay() : GamePlay(LevelLoader::getPath()) {}

GamePlay::GamePlay(const std::string& levelsPath)
{
    LevelLoader loader(levelsPath);
    if (loader.planes.empty())
        throw FatalError("LevelLoader: The levels file " + loader.path +
                         " holds no plane; the game needs at least one.");
    planes = loader.planes;
    ownedLevels = loader.takeLevels();
    start();
}

GamePlay::GamePlay(std::vector<std::unique_ptr<Level>> screens) : ownedLevels(std::move(screens))
{
    if (ownedLevels.empty() || ownedLevels.size() % Plane::screenCount != 0)
        throw FatalError("GamePlay: " + std::to_string(ownedLevels.size()) +
                         " screens make no whole plane of " + std::to_string(Plane::screenCount) + ".");
    for (std::size_t first = 0; first < ownedLevels.size(); first += Plane::screenCount) {
        Plane plane;
        for (int i = 0; i < Plane::screenCount; ++i)
            plane.levels[i] = ownedLevels[first + i].get();
        planes.push_back(plane);
    }
    start();
}

void GamePlay::start()
{
    showTitle = true;
    endFade = 1.0f;
    randomSeed = static_cast<int>(std::time(nullptr));
    randomLevels = false;
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

void GamePlay::loadImages(Drawer* drawer)
{
    struct Embedded {
        unsigned int GamePlay::*id;
        const unsigned char* data;
        unsigned int size;
    };
    const Embedded images[] = {
        {&GamePlay::focalfade1, Images::focalfade1_png, Images::focalfade1_png_size},
        {&GamePlay::focalfade3, Images::focalfade3_png, Images::focalfade3_png_size},
        {&GamePlay::rect1a, Images::rect1a_png, Images::rect1a_png_size},
        {&GamePlay::rect1b, Images::rect1b_png, Images::rect1b_png_size},
        {&GamePlay::rect2a, Images::rect2a_png, Images::rect2a_png_size},
        {&GamePlay::rect2b, Images::rect2b_png, Images::rect2b_png_size},
        {&GamePlay::rect3a, Images::rect3a_png, Images::rect3a_png_size},
        {&GamePlay::rect3b, Images::rect3b_png, Images::rect3b_png_size},
        {&GamePlay::rect4a, Images::rect4a_png, Images::rect4a_png_size},
        {&GamePlay::rect4b, Images::rect4b_png, Images::rect4b_png_size},
        {&GamePlay::door, Images::door_png, Images::door_png_size},
        {&GamePlay::title, Images::brickvoyager_png, Images::brickvoyager_png_size},
        {&GamePlay::stepinside, Images::stepinside_png, Images::stepinside_png_size},
        {&GamePlay::guystand1, Images::guystand1_png, Images::guystand1_png_size},
        {&GamePlay::guystand2, Images::guystand2_png, Images::guystand2_png_size},
        {&GamePlay::guywalk1, Images::guywalk1_png, Images::guywalk1_png_size},
        {&GamePlay::guywalk2, Images::guywalk2_png, Images::guywalk2_png_size},
        {&GamePlay::guywalk3, Images::guywalk3_png, Images::guywalk3_png_size},
    };
    for (const Embedded& image : images)
        this->*image.id = EmbeddedImage::load(*drawer, image.data, image.size);
}

// Ground, door, figure, blocks, the shaking title and hint, then the veils
// from the progress grey up to the vignette.
void GamePlay::render(Drawer* drawer)
{
    if (focalfade1 == 0)
        loadImages(drawer);
    drawer->fillRect(0, 0, displayWidth, displayHeight, 192, 255, 192, 255);
    const Level& screen = currentLevel();
    if (screen.door)
        drawImage(drawer, door, screen.door->left, screen.door->top);
    drawFigure(drawer);
    drawBlocks(drawer);
    if (showTitle)
        drawShaking(drawer, title, 255.0f, 92.0f);
    if (currentPlane == 0 && currentScreen == 3)
        drawShaking(drawer, stepinside, 440.0f, 113.0f);
    drawVeils(drawer);
    drawImage(drawer, animFrame % 6 > 2 ? focalfade3 : focalfade1, 0.0f, 0.0f);
    animFrame = (animFrame + 1) % animFrames;
}

// An image that failed to load (id 0) is left out rather than handed to a
// drawer that would refuse it.
void GamePlay::drawImage(Drawer* drawer, unsigned int image, float x, float y, float scaleX,
                         float scaleY)
{
    if (image != 0)
        drawer->drawImage(image, x, y, scaleX, scaleY, 1.0f, 1.0f, 1.0f, 1.0f);
}

void GamePlay::drawFigure(Drawer* drawer)
{
    unsigned int image = animFrame > 5 ? guystand2 : guystand1;
    if (leftHeld || rightHeld || player.jumping) {
        Pose pose = Pose::Walk1;
        for (const WalkRun& run : walkCycle)
            if (walkFrame >= run.from)
                pose = run.pose;
        const unsigned int poses[] = {guywalk1, guywalk2, guywalk3, guystand1};
        image = poses[static_cast<int>(pose)];
        walkFrame = (walkFrame + 1) % walkFrames;
    }
    // Mirrored within the same box: the image extends to the left of x + 22.
    if (player.facingRight)
        drawImage(drawer, image, player.x, player.y, 1.0f, 1.0f);
    else
        drawImage(drawer, image, static_cast<float>(player.x + Player::width), player.y, -1.0f,
                  1.0f);
}

// The blocks of the screen this frame's update began on, each scaled about
// its centre.
void GamePlay::drawBlocks(Drawer* drawer)
{
    drawBlocksOf(drawer, frameLevel != nullptr ? *frameLevel : currentLevel(), 0.0f, 0.0f, 1.0f,
                 animFrame);
}

void GamePlay::drawBlocksOf(Drawer* drawer, const Level& screen, float x, float y, float scale,
                            int frame)
{
    const unsigned int variantA[] = {rect1a, rect2a, rect3a, rect4a};
    const unsigned int variantB[] = {rect1b, rect2b, rect3b, rect4b};
    for (const Block& block : screen.blocks) {
        if (!BlockTypes::isKnown(block.type))
            continue;
        const unsigned int image = frame > 5 ? variantB[block.type] : variantA[block.type];
        const float w = block.width;
        const float h = block.height;
        const float s = block.scale;
        drawImage(drawer, image, x + (block.x - 0.5f * (w * s - w)) * scale,
                  y + (block.y - 0.5f * (h * s - h)) * scale, s * scale, s * scale);
    }
}

void GamePlay::paintScreen(Drawer* drawer, const Level& screen, float x, float y, float scale,
                           int frame)
{
    if (focalfade1 == 0)
        loadImages(drawer);
    drawer->fillRect(x, y, displayWidth * scale, displayHeight * scale, 192, 255, 192, 255);
    if (screen.door)
        drawImage(drawer, door, x + screen.door->left * scale, y + screen.door->top * scale, scale,
                  scale);
    drawBlocksOf(drawer, screen, x, y, scale, frame);
}

void GamePlay::drawShaking(Drawer* drawer, unsigned int image, float x, float y)
{
    const float jx = jitter(unitNoise());
    const float jy = jitter(unitNoise());
    drawImage(drawer, image, x + jx, y + jy, 0.5f, 0.5f);
}

void GamePlay::drawVeils(Drawer* drawer)
{
    if (currentPlane > 0) {
        const float share = static_cast<float>(currentPlane) / static_cast<float>(planes.size());
        const auto alpha = static_cast<unsigned char>(static_cast<int>(share * 255.0f) & 0xff);
        drawer->fillRect(0, 0, displayWidth, displayHeight, 128, 128, 128, alpha);
    }
    if (endFade > 0.0f && endFade < 1.0f) {
        const auto alpha = static_cast<unsigned char>((1.0f - endFade) * 255.0f);
        drawer->fillRect(0, 0, displayWidth, displayHeight, 128, 128, 128, alpha);
        endFade -= fadeStep;
    } else if (endFade <= 0.0f) {
        drawer->fillRect(0, 0, displayWidth, displayHeight, 128, 128, 128, 255);
    }
    if (fadeIn > 1.0f)
        fadeIn = 1.0f;
    const auto black = static_cast<unsigned char>(255 - static_cast<int>(fadeIn * 255.0f));
    drawer->fillRect(0, 0, displayWidth, displayHeight, 0, 0, 0, black);
    if (fadeIn < 1.0f)
        fadeIn += fadeStep;
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

void GamePlay::beginOnPlane(int plane)
{
    currentPlane = plane;
    currentScreen = 0;
    showTitle = plane == 0;
    endFade = 1.0f;
    currentLevel().reset();
    placeAtStart(currentLevel());
    player.cancelJump();
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
