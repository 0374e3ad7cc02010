#pragma once

#include <string>
#include <vector>

class Drawer;
class EditorModel;
class GamePlay;
class Level;

// The editor's picture: the screen being edited painted as the game paints
// it (through the game's own painting, the blocks breathing), or all four
// screens at half size, then the editor's marks, the status line, the
// pointer and, when open, the keys or the list of files to take in. It only
// draws; an image the game could not load is left out as in play.
class EditorPicture {
public:
    // A place on a screen of the plane being edited.
    struct Mark {
        bool shown = false;
        int screen = 0;
        float x = 0.0f, y = 0.0f;
    };

    static constexpr float statusSize = 14.0f;
    static constexpr float statusHeight = 28.0f;

    // One frame; painter lends its images and its painting of a screen.
    void draw(Drawer& drawer, GamePlay& painter, const EditorModel& model);

    // What the editor has to say beside the model's status (the proof).
    std::string proofLine;
    // Where the search got furthest, and the ghost walking a route found.
    Mark furthest;
    Mark ghost;
    bool ghostFacingRight = true;
    // A screen shown as it is, breathing of its own (the ghost's), instead
    // of the model's screen.
    const Level* walking = nullptr;
    bool helpOpen = false;
    bool listOpen = false;
    std::vector<std::string> listLines;
    int listChoice = 0;

private:
    void drawScreen(Drawer& drawer, GamePlay& painter, const EditorModel& model, int index,
                    float x, float y, float scale);
    void drawMarks(Drawer& drawer, GamePlay& painter, const EditorModel& model);
    void drawStatus(Drawer& drawer, const EditorModel& model);
    void drawPointer(Drawer& drawer, const EditorModel& model);
    void drawPage(Drawer& drawer, const std::string& title, const std::vector<std::string>& lines,
                  int highlighted);

    // The breathing of the picture, as a screen in play breathes.
    float phase = 0.0f;
    int frame = 0;
};
