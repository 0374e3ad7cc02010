#pragma once

// A game over a levels file made for the test from the given Plane elements
// (the loader's lines are kept off the test's output), and what a test does
// to it as the shell would: keys, frames, and the figure put in place.

#include <memory>
#include <string>

#include "CoutCapture.h"
#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "TestSupport.h"
#include "VellumDrawingLib/NullDrawer.h"
#include "Walkthrough.h"

inline std::unique_ptr<GamePlay> gameOf(const std::string& planes)
{
    CoutCapture quiet;
    return std::make_unique<GamePlay>(TempDir().write("levels.xml", "<BrickVoyager>" + planes + "</BrickVoyager>"));
}

inline void press(GamePlay& game, SDLKey key, bool down = true) { Walkthrough::sendKey(game, key, down); }

// One frame, drawn by a drawer that draws nothing.
inline void playFrame(GamePlay& game)
{
    static NullDrawer drawer(LogicalScreen::width, LogicalScreen::height);
    game.draw(&drawer);
}

// The figure at x, y as if it had stood there the frame before.
inline void place(GamePlay& game, short x, short y)
{
    game.player.x = game.player.lastX = x;
    game.player.y = game.player.lastY = game.player.jumpBaseY = y;
}
