#include "editor/EditorModel.h"

#include <functional>

#include <gtest/gtest.h>

#include "game/LevelLoader.h"
#include "game/LogicalScreen.h"
#include "game/Player.h"
#include "TestSupport.h"

namespace {

// The shipped world's first two planes, editing the first plane's first
// screen with its first block selected.
EditorModel shippedModel()
{
    std::vector<EditorModel::Screens> planes =
        EditorModel::screensOf(readFile(BV_SOURCE_DIR "/resources/levels.xml"));
    planes.resize(2);
    EditorModel model(planes, 0, 0);
    model.selectNext(1);
    model.setPointer(300, 200);
    return model;
}

struct Edit {
    const char* name;
    std::function<void(EditorModel&)> apply;
    std::function<void(EditorModel&)> prepare = [](EditorModel&) {};
};

const Edit edits[] = {
    {"arrow move", [](EditorModel& m) { m.moveSelected(8, -1); }},
    {"drag", [](EditorModel& m) { m.dragSelectedTo(10, 20); m.dragSelectedTo(40, 50); m.finishGesture(); }},
    {"new block", [](EditorModel& m) { m.addBlock(); }},
    {"remove block", [](EditorModel& m) { m.removeSelected(); }},
    {"type", [](EditorModel& m) { m.nextType(); }},
    {"breathing", [](EditorModel& m) { m.nextBreathing(); }},
    {"phase", [](EditorModel& m) { m.nextPhase(); }, [](EditorModel& m) { m.nextBreathing(); }},
    {"door", [](EditorModel& m) { m.placeDoor(); }},
    {"start", [](EditorModel& m) { m.placeStart(); }},
    {"new plane", [](EditorModel& m) { m.insertPlane(); }},
    {"copy plane", [](EditorModel& m) { m.copyPlane(); }},
    {"remove plane", [](EditorModel& m) { m.removePlane(); }},
    {"move plane", [](EditorModel& m) { m.movePlane(1); }},
};

}  // namespace

// Each kind of edit changes the saved text; undo gives back the text before
// it exactly, redo the text after it, and both again after a second round.
TEST(EditorModelTest, UndoAndRedoEveryKindOfEdit)
{
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        EditorModel model = shippedModel();
        edit.prepare(model);
        const std::string before = model.text();
        edit.apply(model);
        const std::string after = model.text();
        ASSERT_NE(after, before);
        const unsigned int revision = model.revision;
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(model.undo());
            EXPECT_TRUE(model.text() == before);
            EXPECT_TRUE(model.redo());
            EXPECT_TRUE(model.text() == after);
            EXPECT_FALSE(model.redo());
        }
        EXPECT_GT(model.revision, revision);
    }
}

// A long session keeps every step, and a new edit after undoing drops the
// undone steps; undo shows the screen where the undone edit was made.
TEST(EditorModelTest, HistoryHasNoLimitAndShowsWhereTheEditWas)
{
    EditorModel model = shippedModel();
    std::vector<std::string> texts{model.text()};
    for (int i = 0; i < 300; ++i) {
        model.moveSelected(1, 0);
        model.moveSelected(-1, 0);
        texts.push_back(model.text());
    }
    model.chooseScreen(2);
    model.addBlock();
    model.chooseScreen(0);
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.screenIndex, 2);
    EXPECT_EQ(model.text(), texts.back());
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.text(), texts.front());
    model.nextType();
    EXPECT_FALSE(model.redo());
}

// With many planes, each edit (inserted and copied planes, which move the
// planes after them, too) keeps about one plane's text in the history, not
// all of them: a long session with many planes would otherwise run out of
// memory.
TEST(EditorModelTest, AnEditKeepsAboutOnePlaneInTheHistory)
{
    std::vector<EditorModel::Screens> shipped =
        EditorModel::screensOf(readFile(BV_SOURCE_DIR "/resources/levels.xml"));
    std::vector<EditorModel::Screens> planes;
    while (planes.size() < 40)
        planes.push_back(shipped[planes.size() % shipped.size()]);
    EditorModel model(planes, 20, 0);
    model.selectNext(1);
    const std::size_t start = model.historyBytes();
    const std::size_t perPlane = model.text().size() / planes.size();
    for (int i = 0; i < 60; ++i) {
        if (i % 6 == 0)
            model.copyPlane();
        else if (i % 6 == 3)
            model.insertPlane();
        else
            model.moveSelected(1, 0);
    }
    EXPECT_GT(model.historyBytes(), start);
    EXPECT_LT(model.historyBytes() - start, 60 * 2 * perPlane);
}

// What the loader and the game cannot hold is refused or kept in bounds,
// and the status line says so.
TEST(EditorModelTest, LimitsAreKeptAndSaid)
{
    EditorModel model = shippedModel();
    while (model.screen().blocks.size() < static_cast<std::size_t>(LevelLoader::maxBlocksPerScreen))
        model.addBlock();
    const std::string full = model.text();
    model.addBlock();
    EXPECT_EQ(model.text(), full);
    EXPECT_NE(model.status.find("64"), std::string::npos);

    model.moveSelected(-30000, 30000);
    const Block& block = *model.selectedBlock();
    EXPECT_EQ(block.x, EditorModel::keepInside - block.width);
    EXPECT_EQ(block.y, LogicalScreen::height - EditorModel::keepInside);
    EXPECT_NE(model.status.find("STAYS"), std::string::npos);

    model.setPointer(5000, -5000);
    model.placeDoor();
    ASSERT_TRUE(model.screen().door);
    EXPECT_LE(model.screen().door->right, LogicalScreen::width);
    EXPECT_GE(model.screen().door->top, 0);

    while (model.planes.size() < static_cast<std::size_t>(LevelLoader::maxPlanes))
        model.copyPlane();
    model.insertPlane();
    EXPECT_EQ(model.planes.size(), static_cast<std::size_t>(LevelLoader::maxPlanes));
    while (model.planes.size() > 1)
        model.removePlane();
    model.removePlane();
    EXPECT_EQ(model.planes.size(), 1u);
}

// A start over a block lands on its top; one in the air is kept but said to
// fall; one on another screen than the first is refused.
TEST(EditorModelTest, StartStandsOrIsSaidToFall)
{
    EditorModel model(std::vector<EditorModel::Screens>{EditorModel::newPlane()}, 0, 0);
    const Block ground = model.screen().blocks[0];
    const int top = ground.y + 12;  // the hull's inset on a block this high
    model.setPointer(ground.x + 100, top - 20);
    model.placeStart();
    EXPECT_EQ(model.screen().playerY + Player::height, top);
    EXPECT_EQ(model.status.find("FALL"), std::string::npos);

    model.setPointer(ground.x + 100, 100);
    model.placeStart();
    EXPECT_EQ(model.screen().playerY + Player::height, 100);
    EXPECT_NE(model.status.find("FALL"), std::string::npos);

    const std::string text = model.text();
    model.chooseScreen(1);
    model.placeStart();
    EXPECT_EQ(model.text(), text);
    EXPECT_NE(model.status.find("SCREEN 1"), std::string::npos);
}

// B goes through the named patterns and back to still; Shift+B turns the
// phase a quarter, four quarters making the whole turn.
TEST(EditorModelTest, BreathingPatternsAndPhases)
{
    EditorModel model = shippedModel();
    const EditorModel::Breathing order[] = {EditorModel::Breathing::Slow, EditorModel::Breathing::Quick,
                                            EditorModel::Breathing::Against, EditorModel::Breathing::Still};
    for (const EditorModel::Breathing expected : order) {
        model.nextBreathing();
        EXPECT_EQ(EditorModel::breathingOf(*model.selectedBlock()), expected);
    }
    model.nextBreathing();
    const std::string phase0 = model.text();
    std::vector<std::string> seen{phase0};
    for (int quarter = 1; quarter <= 4; ++quarter) {
        model.nextPhase();
        int phase = -1;
        EXPECT_EQ(EditorModel::breathingOf(*model.selectedBlock(), &phase), EditorModel::Breathing::Slow);
        EXPECT_EQ(phase, quarter % 4);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), model.text()) != seen.end(), quarter == 4);
        seen.push_back(model.text());
    }
}
