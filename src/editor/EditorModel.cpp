#include "editor/EditorModel.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "editor/PlaneList.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"
#include "game/LogicalScreen.h"
#include "game/Player.h"

namespace {

constexpr short doorWidth = 58;
constexpr short doorHeight = 72;
// How far below the feet a block top may lie for a start to land on it.
constexpr int startReach = 48;

struct Pattern {
    float amplitude;
    float breaths;  // over the sixteen keys
};
// Still, Slow, Quick and Against, in the order B goes through them.
constexpr Pattern patterns[] = {{0.0f, 1.0f}, {0.2f, 1.0f}, {0.12f, 2.0f}, {-0.3f, 1.0f}};
constexpr const char* breathingNames[] = {"STILL", "SLOW", "QUICK", "AGAINST THE OTHERS", "ITS OWN"};

float keyOf(const Pattern& pattern, int phase, int key)
{
    const float turns = key * pattern.breaths / Block::keyCount + phase / 4.0f;
    return 1.0f + pattern.amplitude * std::sin(turns * 6.2831853f);
}

short clampShort(int value, int low, int high)
{
    return static_cast<short>(std::max(low, std::min(high, value)));
}

// The top of the hull a figure with its feet at (x .. x + width, feet)
// lands on as the plane starts, or INT_MIN for none within reach.
int landingTop(const Level& screen, short x, short feet)
{
    Level atStart = screen;
    for (Block& block : atStart.blocks)
        block.scale = block.scaleKeys[0];
    int best = -1000000;
    for (const CollisionHull& hull : atStart.getHulls()) {
        const bool across = x + Player::width > hull.left && x < hull.right && hull.bottom > hull.top;
        if (across && hull.top >= feet - startReach && hull.top <= feet + startReach &&
            (best == -1000000 || std::abs(hull.top - feet) < std::abs(best - feet)))
            best = hull.top;
    }
    return best;
}

}  // namespace

EditorModel::EditorModel(std::vector<Screens> planes_, int plane_, int screen_)
    : planes(std::move(planes_))
{
    if (planes.empty())
        planes.push_back(newPlane());
    plane = std::max(0, std::min(plane_, static_cast<int>(planes.size()) - 1));
    screenIndex = std::max(0, std::min(screen_, Plane::screenCount - 1));
    history.push_back(State{planeTexts(), plane, screenIndex, selected});
    status = where();
}

const Block* EditorModel::selectedBlock() const
{
    return selected >= 0 && selected < static_cast<int>(screen().blocks.size())
               ? &screen().blocks[selected]
               : nullptr;
}

std::string EditorModel::where() const
{
    return "PLANE " + std::to_string(plane + 1) + " OF " + std::to_string(planes.size()) +
           ", SCREEN " + std::to_string(screenIndex + 1);
}

void EditorModel::commit(const std::string& said)
{
    status = said;
    std::vector<PlaneText> saved = planeTexts();
    const auto sameText = [](const PlaneText& a, const PlaneText& b) { return *a == *b; };
    if (std::equal(saved.begin(), saved.end(), history[now].texts.begin(), history[now].texts.end(), sameText))
        return;
    history.resize(now + 1);
    history.push_back(State{std::move(saved), plane, screenIndex, selected});
    now = history.size() - 1;
    ++revision;
}

void EditorModel::restore(const State& planesFrom, const State& placeFrom)
{
    planes.clear();
    for (const PlaneText& planeText : planesFrom.texts)
        planes.push_back(screensOf(*planeText).at(0));
    plane = std::min(placeFrom.plane, static_cast<int>(planes.size()) - 1);
    screenIndex = placeFrom.screenIndex;
    selected = placeFrom.selected < static_cast<int>(screen().blocks.size()) ? placeFrom.selected : -1;
    allScreens = false;
    ++revision;
}

bool EditorModel::undo()
{
    finishGesture();
    if (now == 0) {
        status = "NOTHING TO UNDO";
        return false;
    }
    // The planes before the edit, shown where the edit was made.
    restore(history[now - 1], history[now]);
    --now;
    status = "UNDONE, " + where();
    return true;
}

bool EditorModel::redo()
{
    if (now + 1 >= history.size()) {
        status = "NOTHING TO REDO";
        return false;
    }
    ++now;
    restore(history[now], history[now]);
    status = "REDONE, " + where();
    return true;
}

void EditorModel::movePointer(int dx, int dy)
{
    setPointer(pointerX + dx, pointerY + dy);
}

void EditorModel::setPointer(int x, int y)
{
    pointerX = clampShort(x, 0, LogicalScreen::width - 1);
    pointerY = clampShort(y, 0, LogicalScreen::height - 1);
}

void EditorModel::selectAt(int x, int y)
{
    setPointer(x, y);
    selected = -1;
    const std::vector<Block>& blocks = screen().blocks;
    for (int i = static_cast<int>(blocks.size()) - 1; i >= 0; --i) {
        const Block& b = blocks[i];
        if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) {
            selected = i;
            status = blockLine();
            return;
        }
    }
    status = where();
}

void EditorModel::selectNext(int direction)
{
    const int count = static_cast<int>(screen().blocks.size());
    // None sits between the last block and the first.
    int next = selected + direction;
    if (next < -1)
        next = count - 1;
    if (next >= count)
        next = -1;
    selected = next;
    status = selected < 0 ? "NO BLOCK SELECTED" : blockLine();
}

std::string EditorModel::blockLine() const
{
    const Block& block = screen().blocks[selected];
    return "BLOCK " + std::to_string(selected + 1) + " OF " + std::to_string(screen().blocks.size()) +
           " - TYPE " + std::to_string(block.type + 1) + ", " + nameOf(breathingOf(block));
}

bool EditorModel::hasSelection()
{
    if (selectedBlock())
        return true;
    status = "NO BLOCK SELECTED - CLICK ONE OR PRESS TAB";
    return false;
}

void EditorModel::clampBlock(Block& block)
{
    const int x = block.x, y = block.y;
    block.x = clampShort(x, keepInside - block.width, LogicalScreen::width - keepInside);
    block.y = clampShort(y, keepInside - block.height, LogicalScreen::height - keepInside);
    if (block.x != x || block.y != y)
        status = "THE BLOCK STAYS ON THE SCREEN";
}

void EditorModel::moveSelected(int dx, int dy)
{
    if (!hasSelection())
        return;
    Block& block = screen().blocks[selected];
    const std::string said = "BLOCK AT " + std::to_string(block.x + dx) + " " + std::to_string(block.y + dy);
    status = said;
    block.x = static_cast<short>(std::max(-32768, std::min(32767, block.x + dx)));
    block.y = static_cast<short>(std::max(-32768, std::min(32767, block.y + dy)));
    clampBlock(block);
    commit(status);
}

void EditorModel::dragSelectedTo(int x, int y)
{
    if (!selectedBlock())
        return;
    Block& block = screen().blocks[selected];
    status = "MOVING BLOCK";
    block.x = clampShort(x, -32768, 32767);
    block.y = clampShort(y, -32768, 32767);
    clampBlock(block);
}

void EditorModel::finishGesture()
{
    const Block* block = selectedBlock();
    if (block && status == "MOVING BLOCK")
        status = "BLOCK AT " + std::to_string(block->x) + " " + std::to_string(block->y);
    commit(status);
}

void EditorModel::showPlane(int index)
{
    plane = index;
    screenIndex = 0;
    selected = -1;
    allScreens = false;
}

void EditorModel::addBlock()
{
    Level& s = screen();
    if (static_cast<int>(s.blocks.size()) >= LevelLoader::maxBlocksPerScreen) {
        status = "A SCREEN HOLDS AT MOST " + std::to_string(LevelLoader::maxBlocksPerScreen) + " BLOCKS";
        return;
    }
    Block block;
    block.type = selectedBlock() ? selectedBlock()->type : 0;
    block.setSizeFromType();
    block.x = static_cast<short>(pointerX - block.width / 2);
    block.y = static_cast<short>(pointerY - block.height / 2);
    status = "A NEW BLOCK";
    clampBlock(block);
    s.addBlock(block);
    selected = static_cast<int>(s.blocks.size()) - 1;
    commit(status);
}

void EditorModel::removeSelected()
{
    if (!hasSelection())
        return;
    Level& s = screen();
    s.blocks.erase(s.blocks.begin() + selected);
    s.hulls.pop_back();
    selected = -1;
    commit("BLOCK REMOVED");
}

void EditorModel::nextType()
{
    if (!hasSelection())
        return;
    Block& block = screen().blocks[selected];
    block.type = (BlockTypes::isKnown(block.type) ? block.type + 1 : 0) % BlockTypes::count;
    block.setSizeFromType();
    status = "BLOCK TYPE " + std::to_string(block.type + 1) + " OF 4";
    clampBlock(block);
    commit(status);
}

void EditorModel::setBreathing(Block& block, Breathing breathing, int phase)
{
    const Pattern& pattern = patterns[static_cast<int>(breathing)];
    for (int k = 0; k < Block::keyCount; ++k)
        block.scaleKeys[k] = keyOf(pattern, phase, k);
    block.scale = block.scaleKeys[0];
}

void EditorModel::nextBreathing()
{
    if (!hasSelection())
        return;
    Block& block = screen().blocks[selected];
    const Breathing now = breathingOf(block);
    const Breathing next = now == Breathing::Own || now == Breathing::Against
                               ? Breathing::Still
                               : static_cast<Breathing>(static_cast<int>(now) + 1);
    setBreathing(block, next, 0);
    commit(std::string("BREATHING ") + nameOf(next));
}

void EditorModel::nextPhase()
{
    if (!hasSelection())
        return;
    Block& block = screen().blocks[selected];
    int phase = 0;
    const Breathing breathing = breathingOf(block, &phase);
    if (breathing == Breathing::Own) {
        // Its own keys turn a quarter of the sixteen.
        std::rotate(block.scaleKeys, block.scaleKeys + Block::keyCount / 4, block.scaleKeys + Block::keyCount);
        commit("BREATHING A QUARTER LATER");
        return;
    }
    if (breathing == Breathing::Still) {
        status = "A STILL BLOCK HAS NO PHASE - PRESS B FIRST";
        return;
    }
    phase = (phase + 1) % 4;
    setBreathing(block, breathing, phase);
    commit(std::string("BREATHING ") + nameOf(breathing) + ", PHASE " + std::to_string(phase + 1) + " OF 4");
}

EditorModel::Breathing EditorModel::breathingOf(const Block& block, int* phase)
{
    for (int b = 0; b < 4; ++b) {
        for (int p = 0; p < (b == 0 ? 1 : 4); ++p) {
            bool same = true;
            for (int k = 0; k < Block::keyCount && same; ++k)
                same = std::fabs(block.scaleKeys[k] - keyOf(patterns[b], p, k)) < 1e-3f;
            if (same) {
                if (phase)
                    *phase = p;
                return static_cast<Breathing>(b);
            }
        }
    }
    if (phase)
        *phase = 0;
    return Breathing::Own;
}

const char* EditorModel::nameOf(Breathing breathing)
{
    return breathingNames[static_cast<int>(breathing)];
}

void EditorModel::placeDoor()
{
    const int x = pointerX - doorWidth / 2, y = pointerY - doorHeight / 2;
    const short left = clampShort(x, 0, LogicalScreen::width - doorWidth);
    const short top = clampShort(y, 0, LogicalScreen::height - doorHeight);
    screen().setDoor(left, top);
    commit(left != x || top != y ? "THE DOOR STAYS ON THE SCREEN" : "DOOR PLACED");
}

void EditorModel::placeStart()
{
    if (screenIndex != 0) {
        status = "THE START IS ON SCREEN 1 - PRESS 1 FIRST";
        return;
    }
    const short x = clampShort(pointerX - Player::width / 2, 0, LogicalScreen::width - Player::width);
    short feet = clampShort(pointerY, Player::height, LogicalScreen::height);
    const int top = landingTop(screen(), x, feet);
    std::string said = "START PLACED ON A BLOCK";
    if (top == -1000000)
        said = "START PLACED - THE FIGURE WILL FALL FROM THERE";
    else
        feet = static_cast<short>(top);
    screen().setPlayerPos(x, static_cast<short>(feet - Player::height));
    commit(said);
}

void EditorModel::chooseScreen(int index)
{
    finishGesture();
    screenIndex = std::max(0, std::min(index, Plane::screenCount - 1));
    allScreens = false;
    selected = -1;
    status = where();
}

void EditorModel::showAllScreens()
{
    allScreens = true;
    selected = -1;
    status = "ALL FOUR SCREENS - CLICK ONE OR PRESS 1 TO 4";
}

void EditorModel::choosePlane(int delta)
{
    finishGesture();
    showPlane(std::max(0, std::min(plane + delta, static_cast<int>(planes.size()) - 1)));
    status = where();
}

void EditorModel::insertPlane()
{
    if (static_cast<int>(planes.size()) >= LevelLoader::maxPlanes) {
        status = "AT MOST " + std::to_string(LevelLoader::maxPlanes) + " PLANES";
        return;
    }
    planes.insert(planes.begin() + plane + 1, newPlane());
    showPlane(plane + 1);
    commit("A NEW PLANE, " + where());
}

void EditorModel::copyPlane()
{
    if (static_cast<int>(planes.size()) >= LevelLoader::maxPlanes) {
        status = "AT MOST " + std::to_string(LevelLoader::maxPlanes) + " PLANES";
        return;
    }
    const Screens copy = planes[plane];
    planes.insert(planes.begin() + plane + 1, copy);
    showPlane(plane + 1);
    commit("A COPY, " + where());
}

void EditorModel::removePlane()
{
    if (planes.size() <= 1) {
        status = "THE LAST PLANE STAYS";
        return;
    }
    planes.erase(planes.begin() + plane);
    if (plane >= static_cast<int>(planes.size()))
        plane = static_cast<int>(planes.size()) - 1;
    screenIndex = 0;
    selected = -1;
    commit("PLANE REMOVED, CTRL+Z BRINGS IT BACK");
}

void EditorModel::movePlane(int delta)
{
    const int to = plane + delta;
    if (to < 0 || to >= static_cast<int>(planes.size())) {
        status = delta < 0 ? "ALREADY THE FIRST PLANE" : "ALREADY THE LAST PLANE";
        return;
    }
    std::swap(planes[plane], planes[to]);
    plane = to;
    commit("PLANE MOVED, " + where());
}

EditorModel::Screens EditorModel::newPlane()
{
    Screens screens;
    Block ground;
    ground.type = 2;
    ground.setSizeFromType();
    ground.x = 139;
    ground.y = 600;
    screens[0].addBlock(ground);
    screens[0].setPlayerPos(200, static_cast<short>(ground.y + 12 - Player::height));
    return screens;
}

void EditorModel::takeIn(const std::vector<Screens>& more)
{
    const std::size_t room = LevelLoader::maxPlanes - planes.size();
    if (more.empty() || room == 0) {
        status = room == 0 ? "AT MOST " + std::to_string(LevelLoader::maxPlanes) + " PLANES" : "NO PLANE TO TAKE IN";
        return;
    }
    const std::size_t count = std::min(room, more.size());
    planes.insert(planes.begin() + plane + 1, more.begin(), more.begin() + static_cast<long>(count));
    showPlane(plane + 1);
    commit("TAKEN IN, " + where());
}

std::string EditorModel::text() const
{
    // The writer only reads through the planes' references.
    std::vector<Screens>& screens = const_cast<std::vector<Screens>&>(planes);
    return LevelWriter::write(planesOf(screens));
}

// An edit changes a plane or two, an inserted or removed plane moves the
// others by one: a text equal to one of the current state's is that one,
// so that a long session keeps about one plane's text per edit.
std::vector<EditorModel::PlaneText> EditorModel::planeTexts() const
{
    const std::vector<PlaneText>* before = history.empty() ? nullptr : &history[now].texts;
    std::vector<PlaneText> texts;
    for (std::size_t p = 0; p < planes.size(); ++p) {
        Plane one;
        for (int s = 0; s < Plane::screenCount; ++s)
            one.levels[s] = const_cast<Level*>(&planes[p][s]);
        std::string written = LevelWriter::write({one});
        PlaneText shared;
        for (std::size_t q : {p, p - 1, p + 1})
            if (!shared && before && q < before->size() && *(*before)[q] == written)
                shared = (*before)[q];
        texts.push_back(shared ? shared : std::make_shared<const std::string>(std::move(written)));
    }
    return texts;
}

std::size_t EditorModel::historyBytes() const
{
    std::unordered_set<const std::string*> counted;
    std::size_t bytes = 0;
    for (const State& state : history)
        for (const PlaneText& planeText : state.texts)
            if (counted.insert(planeText.get()).second)
                bytes += planeText->size();
    return bytes;
}

std::vector<Plane> EditorModel::planesOf(std::vector<Screens>& screens)
{
    std::vector<Plane> result(screens.size());
    for (std::size_t p = 0; p < screens.size(); ++p)
        for (int s = 0; s < Plane::screenCount; ++s)
            result[p].levels[s] = &screens[p][s];
    return result;
}

std::vector<EditorModel::Screens> EditorModel::screensOf(const std::string& text)
{
    return screensOf(PlaneList::read("the planes", text));
}

std::vector<EditorModel::Screens> EditorModel::screensOf(const PlaneList& list)
{
    std::vector<Screens> result(list.planes.size());
    for (std::size_t p = 0; p < list.planes.size(); ++p)
        for (int s = 0; s < Plane::screenCount; ++s)
            if (list.planes[p].levels[s])
                result[p][s] = *list.planes[p].levels[s];
    return result;
}
