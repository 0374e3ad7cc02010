#pragma once

// A game over a levels file made for the test from the given Plane elements;
// the loader's lines are kept off the test's output.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GamePlay.h"
#include "TestSupport.h"

inline std::unique_ptr<GamePlay> gameOf(const std::string& planes)
{
    TempDir dir;
    const std::string path = dir.write("levels.xml", "<BrickVoyager>" + planes + "</BrickVoyager>");
    testing::internal::CaptureStdout();
    auto game = std::make_unique<GamePlay>(path);
    testing::internal::GetCapturedStdout();
    return game;
}
