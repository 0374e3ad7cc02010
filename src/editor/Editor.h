#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>

#include "editor/EditorControls.h"
#include "editor/EditorModel.h"
#include "editor/EditorPicture.h"
#include "editor/PlanesFile.h"
#include "editor/ProofRunner.h"
#include "input/GameControls.h"

class Drawer;
class GamePlay;
class VideoMode;

// The editor as the shell sees it: opened from the game, it takes the
// events and the frames until the player leaves; it edits the player's
// planes (model, picture, controls) and plays them at once in a game of
// their own, never in the shipped one. A plane that cannot be played (the
// shipped levels file gone) is said in the status line.
class Editor {
public:
    // game: the game in play, whose plane is copied the first time and whose
    // images and painting the picture borrows; file: where the planes are
    // kept (a file of path "" keeps nothing).
    explicit Editor(GamePlay& game, PlanesFile file = PlanesFile());
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // E in the game: the player's planes, on the screen the figure is on.
    void open();
    bool isOpen() const { return mode != Mode::Closed; }
    // Editing, where the mouse points and drags; not while a plane is played.
    bool takesMouse() const { return mode == Mode::Editing; }
    // Every event while open; the mouse is taken through the display's fit.
    void handleEvent(const SDL_Event& event, const VideoMode& video, const Drawer& drawer);
    // One frame while open: the editor's picture, or the plane in play.
    void frame(Drawer& drawer);
    // Writes what waits to be written: on leaving and when the game ends.
    void flush();
    // Each pass of the loop, open or not: the page's share button, a plane
    // a link brought (taken in and played at once), the proof and the file.
    void pass();

    // Null until the editor is first opened.
    std::unique_ptr<EditorModel> model;
    EditorPicture picture;
    // Proves the plane being edited after each change.
    ProofRunner proof;
    PlanesFile planesFile;

private:
    enum class Mode { Closed, Editing, Playing };

    void setMode(Mode next);
    void carryOut(EditorControls::Request request);
    void play(int firstPlane, int planeCount, bool fromPointer);
    void stopPlaying(const std::string& said);
    void playEvent(const SDL_Event& event);
    void pageEvent(const SDL_Event& event);
    // Starts a proof when the plane on show has changed; says what it found.
    void followProof();
    void startGhost();
    void pageRequests();
    // Hands the planes, each with its proof's note, to the file.
    void keepPlanes();
    void exportPlane();
    void listImports();
    void importChosen();
    void share();
    // The saved text of one plane of the model.
    std::string planeText(int plane) const;
    void stepGhost();

    GamePlay& game;
    Mode mode = Mode::Closed;
    EditorControls controls;
    // The plane or planes in play, and their screens.
    std::unique_ptr<GamePlay> played;
    std::vector<std::unique_ptr<Level>> playedScreens;
    GameControls playControls;
    // What the proof on hand is of: the model's revision and the plane.
    unsigned int provenRevision = 0;
    int provenPlane = -1;
    bool proofStarted = false;
    // The proofs found this session and read from the file: a plane's
    // text's hash to its route's length (or ProofNote::noRoute).
    std::map<std::string, int> proofs;
    std::string provenHash;
    unsigned int keptRevision = 0;
    std::vector<FilePath> importFiles;
    // The ghost walking the route found, and how far along it is.
    std::unique_ptr<GamePlay> ghost;
    std::vector<RouteSearch::Action> ghostRoute;
    std::size_t ghostStep = 0;
    // R pressed while the proof was still running: the ghost sets off when
    // the route is found.
    bool ghostAsked = false;
};
