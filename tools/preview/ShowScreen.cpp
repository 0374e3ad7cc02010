#include "ShowScreen.h"

#include "game/GamePlay.h"

namespace {

// Frames from a screen's first until its fade-in is over.
constexpr int fadeInFrames = 200;

} // namespace

void showScreen(GamePlay& game, int plane, int screen)
{
    game.currentPlane = plane;
    game.currentScreen = screen;
    game.showTitle = plane == 0 && screen == 0;
    game.fadeIn = 1.0f;
    game.endFade = 1.0f;
    game.animFrame = 0;
    game.randomSeed = 1;
    Level& level = game.currentLevel();
    level.reset();
    for (int frame = 1; frame < fadeInFrames; ++frame)
        level.tick();  // the frame drawn ticks once more
    const Level& first = *game.planes[plane].levels[0];
    const bool onStart = screen == 0;
    game.player.x = game.player.lastX = onStart ? first.playerX : -1000;
    game.player.y = game.player.lastY = onStart ? first.playerY : -1000;
    game.player.jumping = false;
    game.player.fallSpeed = 1.0f;
    // Whatever the figure touches, this frame stays on this screen.
    game.player.screenChangeCooldown = 1000;
}
