#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <unordered_set>

#include "game/RouteSearch.h"
#include "GamePlayTestSupport.h"

namespace {

// Plays the script's frames up to and including the frame named, one at a
// time; next is the index of the script's first event not yet sent.
template <typename EachFrame>
void playUpTo(GamePlay& game, const Walkthrough::Script& script, int& frame, std::size_t& next,
              int last, EachFrame eachFrame)
{
    for (; frame <= last; ++frame) {
        for (; next < script.events.size() && script.events[next].frame == frame; ++next)
            press(game, script.events[next].key, script.events[next].down);
        playFrame(game);
        eachFrame();
    }
}

}  // namespace

// The committed route plays the shipped levels file, as the game finds it
// beside the executable, through every screen of every plane to the end.
// And a player may press the up arrow a little early or late: for every jump
// of the route, pressed up to two frames before or after, the search still
// finds a way on from there, to the door or back onto the route (a state the
// route passes through, from which its own keys lead on to the door).
TEST(WalkthroughTest, CommittedScriptFinishesTheShippedLevelsAndForgivesEveryJumpTwoFramesEitherWay)
{
    std::ifstream in(BV_TEST_DATA_DIR "/walkthrough.txt");
    Walkthrough::Script script;
    std::string error;
    ASSERT_TRUE(Walkthrough::parseScript(in, script, error) && in.eof()) << "tests/data/walkthrough.txt: " << error;
    GamePlay game;
    ASSERT_GE(game.planes.size(), 9u);
    std::vector<std::unordered_set<std::string>> onRoute(game.planes.size());
    std::vector<int> entered;
    std::vector<unsigned> screensSeen(game.planes.size(), 0u);
    {
        GamePlay whole;
        int frame = 0;
        std::size_t next = 0;
        playUpTo(whole, script, frame, next, script.lastFrame, [&] {
            onRoute[whole.currentPlane].insert(RouteSearch::fingerprint(whole));
            entered.resize(whole.currentPlane + 1, frame);
            screensSeen[whole.currentPlane] |= 1u << whole.currentScreen;
        });
        ASSERT_EQ(entered.size(), game.planes.size());
        EXPECT_EQ(std::adjacent_find(entered.begin(), entered.end(), std::greater_equal<int>()), entered.end());
        EXPECT_EQ(screensSeen, std::vector<unsigned>(game.planes.size(), 0xfu));
        EXPECT_LT(whole.endFade, 1.0f);
    }
    RouteSearch::Options bounded;
    bounded.maxFrames = 600;
    bounded.cap = 1500;
    int frame = 0;
    std::size_t next = 0;
    int jumps = 0;
    for (std::size_t j = 0; j < script.events.size(); ++j) {
        if (script.events[j].key != SDLK_UP || !script.events[j].down)
            continue;
        ++jumps;
        const int pressed = script.events[j].frame;
        playUpTo(game, script, frame, next, pressed - 3, [] {});
        const RouteSearch::Snapshot before = RouteSearch::take(game);
        const bool leftHeld = game.leftHeld, rightHeld = game.rightHeld;
        for (int shift : {-2, -1, 1, 2}) {
            // The route's keys around the jump, the up arrow moved (its
            // release does nothing).
            std::size_t e = next;
            for (int f = frame; f <= std::max(pressed, pressed + shift); ++f) {
                for (; e < script.events.size() && script.events[e].frame == f; ++e)
                    if (e != j)
                        press(game, script.events[e].key, script.events[e].down);
                if (f == pressed + shift)
                    press(game, SDLK_UP);
                playFrame(game);
            }
            const auto& known = onRoute[game.currentPlane];
            EXPECT_FALSE(RouteSearch(game, bounded, [&known](GamePlay& g) {
                             return RouteSearch::inFrontOfDoor(g) || known.count(RouteSearch::fingerprint(g)) > 0;
                         }).finish().empty())
                << "the jump at frame " << pressed << " taken " << shift << " frames "
                << (shift < 0 ? "early" : "late") << " leads nowhere (plane " << game.currentPlane << ")";
            RouteSearch::restore(game, before);
            game.leftHeld = leftHeld;
            game.rightHeld = rightHeld;
        }
    }
    EXPECT_GT(jumps, 0);
}
