#include "shell/Application.h"

#include "FatalError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Starts an Application as the entry function does and ends the process as
// it would, its lines sent to standard error where the death test reads them.
void startAndExit(const std::vector<std::string>& words)
{
    std::cout.rdbuf(std::cerr.rdbuf());
    try {
        Application app(words);
    } catch (const FatalError& error) {
        error.display();
        std::exit(error.exitStatus);
    }
    std::exit(2);
}

// Where SDL cannot start (no display, as over SSH), "--help" among the words
// still gives the help and status 0, after the words as always; any other
// words give the failure and status 1. Each start is a process of its own, in
// which SDL has not started before: a failed start leaves SDL in a state in
// which the next one would pass.
TEST(ApplicationStartTest, HelpNeedsNoDisplayButEveryOtherStartDoes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnv noDriver("SDL_VIDEODRIVER", "no-such-driver");
    const ScopedEnv noDisplay("DISPLAY", nullptr);
    EXPECT_EXIT(startAndExit({"-w", "800", "--help"}), testing::ExitedWithCode(0), "--help\n+Brick Voyager\n+Usage:");
    EXPECT_EXIT(startAndExit({"--windowed"}), testing::ExitedWithCode(1), "Could not initialise SDL: ");
    EXPECT_EXIT(startAndExit({"-help"}), testing::ExitedWithCode(1), "Could not initialise SDL: ");
}

} // namespace
