#include "editor/EditorControls.h"

#include <gtest/gtest.h>

#include "editor/EditorModel.h"
#include "game/LogicalScreen.h"

namespace {

PointerInput::Fit fitOf(int windowWidth, int windowHeight, int fittedWidth, int fittedHeight)
{
    PointerInput::Fit fit;
    fit.windowWidth = windowWidth;
    fit.windowHeight = windowHeight;
    fit.fittedWidth = fittedWidth;
    fit.fittedHeight = fittedHeight;
    fit.logicalWidth = LogicalScreen::width;
    fit.logicalHeight = LogicalScreen::height;
    return fit;
}

SDL_Event mouse(Uint8 type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
    }
    return event;
}

}  // namespace

// Window pixels through the letterbox (bars above and below) and the
// pillarbox (bars at the sides); a pixel on a bar lands on the area's edge.
TEST(PointerInputTest, WindowPixelsToLogicalThroughTheBars)
{
    struct Case {
        PointerInput::Fit fit;
        int px, py, x, y;
    };
    const PointerInput::Fit letterbox = fitOf(1280, 1024, 1280, 960);
    const PointerInput::Fit pillarbox = fitOf(1600, 768, 1024, 768);
    const Case cases[] = {
        {letterbox, 640, 32, 512, 0},    {letterbox, 1279, 991, 1023, 767},
        {letterbox, 0, 5, 0, 0},         {letterbox, 320, 1020, 256, 767},
        {pillarbox, 288, 0, 0, 0},       {pillarbox, 1311, 767, 1023, 767},
        {pillarbox, 100, 384, 0, 384},   {pillarbox, 1500, 100, 1023, 100},
        {fitOf(512, 384, 512, 384), 256, 192, 512, 384},
    };
    for (const Case& c : cases) {
        int x = -1, y = -1;
        PointerInput::toLogical(c.px, c.py, c.fit, x, y);
        EXPECT_EQ(x, c.x) << c.px << "," << c.py;
        EXPECT_EQ(y, c.y) << c.px << "," << c.py;
    }
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    EXPECT_EQ(PointerInput::translate(key, letterbox).kind, PointerInput::Kind::None);
}

// A drag in a letterboxed window moves the block it took by the logical
// distance, keeping where it was taken, as one step of the history.
TEST(EditorControlsTest, DragMovesTheBlockByTheLogicalDistance)
{
    EditorModel model(std::vector<EditorModel::Screens>{EditorModel::newPlane()}, 0, 0);
    const std::string before = model.text();
    const Block start = model.screen().blocks[0];
    EditorControls controls;
    // 1280 x 1024: the area is 1280 x 960, 32 pixels down; 1.25 pixels a unit.
    const PointerInput::Fit fit = fitOf(1280, 1024, 1280, 960);
    const int px = static_cast<int>((start.x + 50) * 1.25), py = static_cast<int>((start.y + 50) * 1.25) + 32;
    controls.handle(mouse(SDL_MOUSEBUTTONDOWN, px, py), fit, model);
    ASSERT_EQ(model.selected, 0);
    controls.handle(mouse(SDL_MOUSEMOTION, px - 50, py - 100), fit, model);
    controls.handle(mouse(SDL_MOUSEMOTION, px - 100, py - 200), fit, model);
    controls.handle(mouse(SDL_MOUSEBUTTONUP, px - 100, py - 200), fit, model);
    EXPECT_EQ(model.screen().blocks[0].x, start.x - 80);
    EXPECT_EQ(model.screen().blocks[0].y, start.y - 160);
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.text(), before);
    EXPECT_FALSE(model.undo());
}
