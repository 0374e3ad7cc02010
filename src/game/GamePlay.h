#pragma once

#include <memory>
#include <string>
#include <vector>

#include <SDL.h>

#include "game/Level.h"
#include "game/LevelLoader.h"
#include "game/Plane.h"
#include "game/Player.h"

class Drawer;

// The game: the planes of screens, the figure and the progress through them.
// It turns arrow keys into walking, jumping and doors, applies the landing
// and blocking rules and changes screens and planes, once per frame in
// draw(). Construction throws FatalError when the levels file cannot be
// loaded or holds no plane; nothing after that fails. The rules keep no
// state outside the object, so games on several threads do not meet.
class GamePlay {
public:
    // The edge through which the figure left a screen.
    enum LevelDir { Down = 0, Left = 1, Right = 2 };

    // Reads the shipped levels file.
    GamePlay();
    // Reads the given levels file instead (tests and level tools).
    explicit GamePlay(const std::string& levelsPath);
    // Plays screens already made, reading no file: four a plane, in order
    // (a plane being edited, a route search's own copy). Throws FatalError
    // when they make no whole plane.
    explicit GamePlay(std::vector<std::unique_ptr<Level>> screens);
    GamePlay(const GamePlay&) = delete;
    GamePlay& operator=(const GamePlay&) = delete;

    void keyDown(const SDL_keysym& key);
    void keyUp(const SDL_keysym& key);
    // One frame: the update, then the painting.
    void draw(Drawer* drawer);
    // One frame of the rules alone, unpainted (what the route search plays).
    // Only the painting's own counters and fades then stand still.
    void update();
    // Replaces the hand-made screens by random ones for good.
    void useRandomLevels();
    // A screen change through the given edge.
    void newLevel(LevelDir dir);
    // Puts the figure on the first screen of the plane, as a door does, with
    // the end undone; plane 0 shows the title again, as at a first start.
    void beginOnPlane(int plane);
    // The landing and falling pass of one frame.
    void collisionDetection();
    // Decodes the eighteen embedded images and hands them to the drawer. An
    // image that does not decode keeps the id 0 and is not drawn; a 0 for the
    // first vignette makes the next frame try again.
    void loadImages(Drawer* drawer);

    // A screen's ground, door and blocks as a frame paints them, at (x, y)
    // and scaled by scale; the blocks show the images of animation frame
    // frame. For pictures of screens other than the one in play.
    void paintScreen(Drawer* drawer, const Level& screen, float x, float y, float scale, int frame);

    // The screen on display.
    Level& currentLevel() { return *planes[currentPlane].levels[currentScreen]; }
    // One draw of the noise generator: a value in (-1, 1].
    double noise();
    // The noise as a unit value in (0, 1], as the random screens and the
    // shaking images use it.
    float unitNoise();

    // Vignette images; the first being 0 means the images are not loaded.
    unsigned int focalfade1 = 0;
    unsigned int focalfade3 = 0;
    int animFrame = 0;   // 12-frame animation counter
    float fadeIn = 0.0f; // fade-in from black, 0 to 1
    unsigned int rect1a = 0, rect1b = 0, rect2a = 0, rect2b = 0;
    unsigned int rect3a = 0, rect3b = 0, rect4a = 0, rect4b = 0;
    unsigned int door = 0;
    unsigned int title = 0;
    unsigned int stepinside = 0;
    Player player;
    unsigned int guystand1 = 0, guystand2 = 0, guywalk1 = 0, guywalk2 = 0, guywalk3 = 0;
    int walkFrame = 0;  // 37-frame walking animation counter
    bool leftHeld = false;
    bool rightHeld = false;
    bool downHeld = false;
    int currentScreen = 0;  // 0..3 within the current plane
    int currentPlane = 0;
    std::vector<Plane> planes;
    bool showTitle = true;
    // 1.0: not started; from 0.999 down to 0 and below once the last door is passed.
    float endFade = 1.0f;
    int randomSeed = 0;  // state of the noise generator
    bool randomLevels = false;
    // The screen that was current when this frame's update began: its
    // blocks are the ones painted in this frame.
    Level* frameLevel = nullptr;

private:
    void start();
    void placeAtStart(const Level& first);
    void render(Drawer* drawer);
    void drawFigure(Drawer* drawer);
    void drawBlocks(Drawer* drawer);
    void drawBlocksOf(Drawer* drawer, const Level& screen, float x, float y, float scale, int frame);
    void drawShaking(Drawer* drawer, unsigned int image, float x, float y);
    void drawVeils(Drawer* drawer);
    void drawImage(Drawer* drawer, unsigned int image, float x, float y, float scaleX = 1.0f,
                   float scaleY = 1.0f);
    void enterDoorIfAsked(const Level& screen);
    void moveSideways(const std::vector<CollisionHull>& hulls);
    void tryJump();
    void fillRandomScreen();

    // The screens of every plane, taken over from the loader or given.
    std::vector<std::unique_ptr<Level>> ownedLevels;
};
