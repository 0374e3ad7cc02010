#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/Level.h"
#include "game/Plane.h"

class PlaneList;

// The player's planes as they are being edited, what is selected and the
// whole history of them, each state kept as its planes' saved texts, a plane
// no edit touched shared with the state before: plain
// data, no SDL and no drawing. Every edit keeps
// what the loader and the game can hold; one that cannot be made (a 65th
// block, a door off the screen) changes nothing and says why in status.
class EditorModel {
public:
    using Screens = std::array<Level, Plane::screenCount>;
    // How a block breathes: its scale keys follow one of these, at a phase
    // of 0 to 3 quarters; Own is whatever a file brought.
    enum class Breathing { Still, Slow, Quick, Against, Own };

    // A block stays at least this far inside the screen on every side, so
    // that it can still be seen and clicked.
    static constexpr short keepInside = 16;
    static constexpr short step = 8;
    static constexpr short fineStep = 1;

    // planes must hold at least one plane; the editing starts on the given
    // plane and screen (clamped).
    EditorModel(std::vector<Screens> planes, int plane, int screen);

    // The screen being edited.
    Level& screen() { return planes[plane][screenIndex]; }
    const Level& screen() const { return planes[plane][screenIndex]; }
    const Block* selectedBlock() const;

    void movePointer(int dx, int dy);
    void setPointer(int x, int y);
    // The topmost block under (x, y) on the screen, or none.
    void selectAt(int x, int y);
    // Through the blocks of the screen and then none, forwards or back.
    void selectNext(int direction);
    void moveSelected(int dx, int dy);
    // A drag in progress: the block follows, the history waits for
    // finishGesture().
    void dragSelectedTo(int x, int y);
    void finishGesture();
    void addBlock();
    void removeSelected();
    void nextType();
    void nextBreathing();
    void nextPhase();
    void placeDoor();
    void placeStart();
    void chooseScreen(int index);
    void showAllScreens();
    void choosePlane(int delta);
    void insertPlane();
    void copyPlane();
    void removePlane();
    void movePlane(int delta);
    // Planes from elsewhere (a file, a link), after this one; as many as
    // there is room for.
    void takeIn(const std::vector<Screens>& more);
    bool undo();
    bool redo();

    // The planes as the planes file holds them.
    std::string text() const;
    // The bytes of saved text the whole history holds, each shared text once.
    std::size_t historyBytes() const;
    // Planes read back from such a text; throws FatalError as the loader does.
    static std::vector<Screens> screensOf(const std::string& text);
    static std::vector<Screens> screensOf(const PlaneList& list);
    static std::vector<Plane> planesOf(std::vector<Screens>& screens);

    static Breathing breathingOf(const Block& block, int* phase = nullptr);
    static const char* nameOf(Breathing breathing);
    // A plane of four screens with one block and the start on it.
    static Screens newPlane();

    std::vector<Screens> planes;
    int plane = 0;
    int screenIndex = 0;
    int selected = -1;  // index into screen().blocks, -1 for none
    bool allScreens = false;
    short pointerX = 512;
    short pointerY = 384;
    // What the last action did or why it did nothing, in the bitmap
    // glyphs' characters.
    std::string status;
    // Goes up by one whenever the planes change (an edit, an undo).
    unsigned int revision = 0;

private:
    using PlaneText = std::shared_ptr<const std::string>;
    struct State {
        // One plane's text each, as a planes file of that plane alone.
        std::vector<PlaneText> texts;
        int plane;
        int screenIndex;
        int selected;
    };

    void commit(const std::string& said);
    // The planes' texts now, sharing those equal to the current state's.
    std::vector<PlaneText> planeTexts() const;
    void restore(const State& planesFrom, const State& placeFrom);
    void showPlane(int index);
    void clampBlock(Block& block);
    void setBreathing(Block& block, Breathing breathing, int phase);
    bool hasSelection();
    std::string where() const;
    // What the selected block is.
    std::string blockLine() const;

    std::vector<State> history;
    std::size_t now = 0;
};
