#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <unordered_set>

#include "../tools/walkthrough/RouteSearch.h"
#include "../tools/walkthrough/Walkthrough.h"
#include "GamePlay.h"

namespace {

Walkthrough::Script committedScript()
{
    std::ifstream in(BV_TEST_DATA_DIR "/walkthrough.txt");
    Walkthrough::Script script;
    std::string error;
    EXPECT_TRUE(in) << "tests/data/walkthrough.txt is missing";
    EXPECT_TRUE(Walkthrough::parseScript(in, script, error)) << error;
    return script;
}

// Plays the script's frames up to and including the frame named, one at a
// time; next is the index of the script's first event not yet sent.
template <typename EachFrame>
void playUpTo(GamePlay& game, const Walkthrough::Script& script, int& frame, std::size_t& next,
              int last, EachFrame eachFrame)
{
    static Walkthrough::NullDrawer drawer;
    for (; frame <= last; ++frame) {
        for (; next < script.events.size() && script.events[next].frame == frame; ++next)
            Walkthrough::sendKey(game, script.events[next].key, script.events[next].down);
        game.draw(&drawer);
        eachFrame();
    }
}

Walkthrough::Script scriptFrom(const std::string& text)
{
    std::istringstream in(text);
    Walkthrough::Script script;
    std::string error;
    EXPECT_TRUE(Walkthrough::parseScript(in, script, error)) << error;
    return script;
}

}  // namespace

// The committed route plays the shipped levels file, as the game finds it
// beside the executable, through every door to the end.
TEST(WalkthroughTest, CommittedScriptFinishesTheShippedLevels)
{
    const Walkthrough::Script script = committedScript();
    GamePlay game;
    ASSERT_GE(game.planes.size(), 9u);
    const Walkthrough::Report report = Walkthrough::play(game, script);

    ASSERT_EQ(report.planeEntered.size(), game.planes.size());
    for (std::size_t plane = 1; plane < report.planeEntered.size(); ++plane)
        EXPECT_GT(report.planeEntered[plane], report.planeEntered[plane - 1]);
    // The route leads through every screen of every plane.
    for (std::size_t plane = 0; plane < report.screensSeen.size(); ++plane)
        EXPECT_EQ(report.screensSeen[plane], 0xfu) << "plane " << plane;
    EXPECT_EQ(game.currentPlane + 1, static_cast<int>(game.planes.size()));
    EXPECT_GE(report.endBegins, report.planeEntered.back());
    EXPECT_LT(game.endFade, 1.0f);

    // With every key up, the world fades to plain grey in about 200 frames.
    for (SDLKey key : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN})
        Walkthrough::sendKey(game, key, false);
    Walkthrough::NullDrawer drawer;
    for (int frame = 0; frame < 210; ++frame)
        game.draw(&drawer);
    EXPECT_LE(game.endFade, 0.0f);
}

// A player presses the up arrow a little early or late: for every jump of
// the route, pressed up to two frames before or after, the search still
// finds a way on from there, to the door or back onto the route (a state
// the route passes through, from which its own keys lead on to the door).
TEST(WalkthroughTest, EveryJumpOfTheRouteForgivesTwoFramesEitherWay)
{
    const Walkthrough::Script script = committedScript();
    GamePlay game;
    std::vector<std::unordered_set<std::string>> onRoute(game.planes.size());
    {
        GamePlay whole;
        int frame = 0;
        std::size_t next = 0;
        playUpTo(whole, script, frame, next, script.lastFrame,
                 [&] { onRoute[whole.currentPlane].insert(RouteSearch::fingerprint(whole)); });
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
        const bool leftHeld = game.leftHeld;
        const bool rightHeld = game.rightHeld;
        for (int shift : {-2, -1, 1, 2}) {
            // The route's keys around the jump, the up arrow moved.
            Walkthrough::Script window;
            for (std::size_t e = next; e < script.events.size() && script.events[e].frame <= pressed + 2; ++e) {
                window.events.push_back(script.events[e]);
                if (script.events[e].key == SDLK_UP && (e == j || e == j + 1))
                    window.events.back().frame = pressed + shift;
            }
            std::stable_sort(window.events.begin(), window.events.end(),
                             [](const auto& a, const auto& b) { return a.frame < b.frame; });
            int windowFrame = frame;
            std::size_t windowNext = 0;
            playUpTo(game, window, windowFrame, windowNext, std::max(pressed, pressed + shift), [] {});
            const auto& known = onRoute[game.currentPlane];
            const std::vector<unsigned char> way =
                RouteSearch::search(game, bounded, [&known](GamePlay& g) {
                    return RouteSearch::inFrontOfDoor(g) || known.count(RouteSearch::fingerprint(g)) > 0;
                });
            EXPECT_FALSE(way.empty()) << "the jump at frame " << pressed << " taken " << shift
                                      << " frames " << (shift < 0 ? "early" : "late")
                                      << " leads nowhere (plane " << game.currentPlane << ")";
            RouteSearch::restore(game, before);
            game.leftHeld = leftHeld;
            game.rightHeld = rightHeld;
        }
    }
    EXPECT_GT(jumps, 0);
}

TEST(WalkthroughTest, ShippedLevelsKeepTheirPromises)
{
    GamePlay game;
    for (std::size_t plane = 0; plane < game.planes.size(); ++plane) {
        int doors = 0;
        for (int screen = 0; screen < Plane::screenCount; ++screen) {
            const Level& level = *game.planes[plane].levels[screen];
            EXPECT_FALSE(level.blocks.empty()) << "plane " << plane << " screen " << screen;
            doors += level.door ? 1 : 0;
        }
        EXPECT_EQ(doors, 1) << "plane " << plane;
        // The start stands on a block's top edge.
        Level& first = *game.planes[plane].levels[0];
        first.reset();
        first.tick();
        bool stands = false;
        for (const CollisionHull& hull : first.getHulls())
            stands = stands || (first.playerY + Player::height == hull.top &&
                                first.playerX + Player::width > hull.left &&
                                first.playerX < hull.right);
        EXPECT_TRUE(stands) << "plane " << plane;
    }
    EXPECT_TRUE(game.planes[0].levels[3]->door.has_value());
}

TEST(WalkthroughTest, ScriptEventsHappenBeforeTheirFrame)
{
    const Walkthrough::Script script = scriptFrom("# a comment\n\n0 +right\n10 -right +up -up\n 12 \n");
    ASSERT_EQ(script.events.size(), 4u);
    EXPECT_EQ(script.events[1].frame, 10);
    EXPECT_FALSE(script.events[1].down);
    EXPECT_EQ(script.events[1].key, SDLK_RIGHT);
    EXPECT_EQ(script.lastFrame, 12);

    std::ostringstream written;
    Walkthrough::writeEvents(written, script.events, script.lastFrame);
    EXPECT_EQ(written.str(), "0 +right\n10 -right +up -up\n12\n");
}

TEST(WalkthroughTest, MalformedScriptsNameTheLineAndTheFault)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"0 +left\nx +up\n", "line 2: expected a frame number, found 'x'"},
        {"5 +left\n4 -left\n", "line 2: frame 4 comes before an earlier line's frame"},
        {"1 left\n", "line 1: expected +key or -key, found 'left'"},
        {"1 +space\n", "line 1: unknown key 'space' (left, right, up, down)"},
        {"-3 +up\n", "line 1: expected a frame number, found '-3'"},
        {"99999999999 +up\n", "line 1: expected a frame number, found '99999999999'"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        Walkthrough::Script script;
        std::string error;
        EXPECT_FALSE(Walkthrough::parseScript(in, script, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}
