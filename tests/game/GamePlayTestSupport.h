#pragma once

// A game over a levels file made for the test from the given Plane elements;
// the loader's lines are kept off the test's output.

#include <memory>
#include <string>

#include "CoutCapture.h"
#include "game/GamePlay.h"
#include "TestSupport.h"

inline std::unique_ptr<GamePlay> gameOf(const std::string& planes)
{
    CoutCapture quiet;
    return std::make_unique<GamePlay>(TempDir().write("levels.xml", "<BrickVoyager>" + planes + "</BrickVoyager>"));
}
