#include "editor/Editor.h"

#include "editor/ProofNote.h"
#include "editor/ShareCode.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"
#include "game/PlaneProof.h"
#include "platform/ShareLink.h"
#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "game/Player.h"
#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/VideoMode.h"


namespace {

// The images the game already gave the drawer, lent to a game in play so
// that each play does not load them again.
void shareImages(const GamePlay& from, GamePlay& to)
{
    unsigned int GamePlay::*const ids[] = {
        &GamePlay::focalfade1, &GamePlay::focalfade3, &GamePlay::rect1a, &GamePlay::rect1b,
        &GamePlay::rect2a,     &GamePlay::rect2b,     &GamePlay::rect3a, &GamePlay::rect3b,
        &GamePlay::rect4a,     &GamePlay::rect4b,     &GamePlay::door,   &GamePlay::title,
        &GamePlay::stepinside, &GamePlay::guystand1,  &GamePlay::guystand2, &GamePlay::guywalk1,
        &GamePlay::guywalk2,   &GamePlay::guywalk3};
    for (unsigned int GamePlay::*id : ids)
        to.*id = from.*id;
}

}  // namespace

Editor::Editor(GamePlay& game, PlanesFile file) : planesFile(std::move(file)), game(game) {}

Editor::~Editor() = default;

void Editor::open()
{
    if (!model) {
        const PlaneList kept = planesFile.load();
        std::vector<EditorModel::Screens> planes = EditorModel::screensOf(kept);
        if (planes.empty()) {
            // Something to change at once: the plane the figure is on.
            EditorModel::Screens screens;
            const Plane& current = game.planes[game.currentPlane];
            for (int i = 0; i < Plane::screenCount; ++i)
                screens[i] = *current.levels[i];
            planes.push_back(screens);
        }
        model = std::make_unique<EditorModel>(planes, 0, game.currentScreen);
        for (std::size_t p = 0; p < kept.notes.size() && p < planes.size(); ++p) {
            const std::string text = planeText(static_cast<int>(p));
            const int frames = ProofNote::read(kept.notes[p], text);
            if (frames != ProofNote::unknown)
                proofs[ProofNote::hashOf(text)] = frames;
        }
        if (kept.planes.empty())
            keepPlanes();
        keptRevision = model->revision;
    } else {
        model->chooseScreen(game.currentScreen);
    }
    setMode(Mode::Editing);
}

void Editor::setMode(Mode next)
{
    // A held arrow keeps moving the block or the pointer while editing; in
    // play and in the game a key is held, never repeated.
    if (next == Mode::Editing)
        SDL_EnableKeyRepeat(SDL_DEFAULT_REPEAT_DELAY, SDL_DEFAULT_REPEAT_INTERVAL);
    else
        SDL_EnableKeyRepeat(0, 0);
    mode = next;
}

std::string Editor::planeText(int plane) const
{
    std::vector<EditorModel::Screens> one{model->planes[plane]};
    return LevelWriter::write(EditorModel::planesOf(one));
}

void Editor::keepPlanes()
{
    std::vector<std::string> notes;
    for (int p = 0; p < static_cast<int>(model->planes.size()); ++p) {
        const std::string text = planeText(p);
        const auto proof = proofs.find(ProofNote::hashOf(text));
        notes.push_back(proof == proofs.end() ? "" : ProofNote::make(text, proof->second));
    }
    planesFile.changed(EditorModel::planesOf(model->planes), notes);
    keptRevision = model->revision;
}

void Editor::flush()
{
    if (model && model->revision != keptRevision)
        keepPlanes();
    planesFile.flush();
}

void Editor::handleEvent(const SDL_Event& event, const VideoMode& video, const Drawer& drawer)
{
    if (mode == Mode::Playing) {
        playEvent(event);
        return;
    }
    if (picture.helpOpen || picture.listOpen) {
        pageEvent(event);
        return;
    }
    // Whatever the player does next stops the ghost.
    if (ghost && (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN)) {
        ghost.reset();
        picture.ghost.shown = false;
    }
    PointerInput::Fit fit;
    fit.windowWidth = video.getWindowWidth();
    fit.windowHeight = video.getWindowHeight();
    fit.fittedWidth = drawer.getActualWidth();
    fit.fittedHeight = drawer.getActualHeight();
    fit.logicalWidth = LogicalScreen::width;
    fit.logicalHeight = LogicalScreen::height;
    carryOut(controls.handle(event, fit, *model));
}

void Editor::pageEvent(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN)
        return;
    const SDLKey sym = event.key.keysym.sym;
    if (picture.helpOpen) {
        if (sym == SDLK_F1 || sym == SDLK_e || sym == SDLK_ESCAPE)
            picture.helpOpen = false;
        return;
    }
    const int count = static_cast<int>(picture.listLines.size());
    if (sym == SDLK_ESCAPE || sym == SDLK_e || sym == SDLK_i)
        picture.listOpen = false;
    else if (sym == SDLK_UP && picture.listChoice > 0)
        --picture.listChoice;
    else if (sym == SDLK_DOWN && picture.listChoice + 1 < count)
        ++picture.listChoice;
    else if ((sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && count > 0)
        importChosen();
}

void Editor::exportPlane()
{
    model->finishGesture();
    const std::string text = planeText(model->plane);
    const auto proof = proofs.find(ProofNote::hashOf(text));
    const std::vector<Plane> plane = EditorModel::planesOf(model->planes);
    const std::string written = planesFile.exportPlane(
        plane[model->plane], proof == proofs.end() ? "" : ProofNote::make(text, proof->second));
    model->status = written.empty()
                        ? "COULD NOT EXPORT - SEE THE GAME OUTPUT"
                        : "EXPORTED AS " + FilePath(written).getNameWithExtension() + " IN THE PLANES FOLDER";
}

void Editor::listImports()
{
    importFiles = planesFile.importable();
    picture.listLines.clear();
    for (const FilePath& file : importFiles)
        picture.listLines.push_back(file.getNameWithExtension());
    picture.listChoice = 0;
    picture.listOpen = true;
}

void Editor::importChosen()
{
    picture.listOpen = false;
    const std::size_t room = LevelLoader::maxPlanes - model->planes.size();
    const PlaneList list = planesFile.importFile(importFiles[picture.listChoice], room);
    if (list.size() == 0) {
        model->status = "NOTHING TAKEN IN - SEE THE GAME OUTPUT";
        return;
    }
    model->takeIn(EditorModel::screensOf(list));
}

void Editor::share()
{
    if (!ShareLink::available()) {
        model->status = "LINKS ARE FOR THE PAGE - X EXPORTS A FILE";
        return;
    }
    const std::vector<Plane> planes = EditorModel::planesOf(model->planes);
    ShareLink::show(ShareCode::encode(planes[model->plane]));
    model->status = "THE LINK IS BESIDE THE GAME";
}

void Editor::pass()
{
    pageRequests();
    if (!model)
        return;
    if (model->revision != keptRevision)
        keepPlanes();
    // The proof goes on while the game is played, so that its note is kept.
    followProof();
    planesFile.frame();
}

void Editor::pageRequests()
{
    if (ShareLink::requested()) {
        if (isOpen())
            share();
        else
            ShareLink::show(ShareCode::encode(game.planes[game.currentPlane]));
    }
    const std::string arrived = ShareLink::takeArrived();
    if (arrived.empty())
        return;
    const PlaneList list = ShareCode::decode(arrived);
    if (list.size() == 0)
        return;
    if (!model)
        open();
    setMode(Mode::Editing);
    model->takeIn(EditorModel::screensOf(list));
    if (model->status.compare(0, 8, "TAKEN IN") == 0)
        play(model->plane, 1, false);
}

void Editor::carryOut(EditorControls::Request request)
{
    using Request = EditorControls::Request;
    switch (request) {
    case Request::Leave:
        model->finishGesture();
        flush();
        setMode(Mode::Closed);
        break;
    case Request::Export: exportPlane(); break;
    case Request::Import: listImports(); break;
    case Request::Help: picture.helpOpen = true; break;
    case Request::Play: play(model->plane, 1, false); break;
    case Request::PlayFromPointer: play(model->plane, 1, true); break;
    case Request::PlayAll: play(0, static_cast<int>(model->planes.size()), false); break;
    case Request::Share: share(); break;
    case Request::ShowRoute: startGhost(); break;
    default: break;
    }
}

void Editor::play(int firstPlane, int planeCount, bool fromPointer)
{
    model->finishGesture();
    // A game of its own over the player's planes: the shipped game, its
    // journey and its state stay as they were.
    std::vector<std::unique_ptr<Level>> screens;
    for (int p = firstPlane; p < firstPlane + planeCount; ++p)
        for (const Level& screen : model->planes[p])
            screens.push_back(std::make_unique<Level>(screen));
    played = std::make_unique<GamePlay>(std::move(screens));
    shareImages(game, *played);
    played->beginOnPlane(0);
    played->showTitle = false;
    played->fadeIn = 1.0f;
    if (fromPointer) {
        played->currentScreen = model->screenIndex;
        played->currentLevel().reset();
        const short x = static_cast<short>(model->pointerX - Player::width / 2);
        const short y = static_cast<short>(model->pointerY - Player::height);
        played->player.setPosition(x, y);
        played->player.setLastPosition(x, y);
    }
    ghost.reset();
    picture.ghost.shown = false;
    setMode(Mode::Playing);
}

void Editor::stopPlaying(const std::string& said)
{
    played.reset();
    playedScreens.clear();
    playControls.forget();
    model->status = said;
    setMode(Mode::Editing);
}

void Editor::playEvent(const SDL_Event& event)
{
    if (event.type == SDL_KEYDOWN &&
        (event.key.keysym.sym == SDLK_e || event.key.keysym.sym == SDLK_ESCAPE)) {
        stopPlaying("BACK FROM PLAY");
        return;
    }
    playControls.translate(event, [this](const SDL_keysym& key, bool down) {
        down ? played->keyDown(key) : played->keyUp(key);
    });
}

void Editor::frame(Drawer& drawer)
{
    if (mode == Mode::Playing) {
        played->draw(&drawer);
        drawer.drawText("E - BACK TO THE EDITOR", 8.0f, LogicalScreen::height - 22.0f, 14.0f, 1.0f,
                        1.0f, 1.0f, 0.6f);
        if (played->endFade <= 0.0f)
            stopPlaying("THE LAST DOOR WAS REACHED");
        return;
    }
    stepGhost();
    picture.draw(drawer, game, *model);
}

void Editor::followProof()
{
    if (!proofStarted || model->revision != provenRevision || model->plane != provenPlane) {
        proof.prove(model->planes[model->plane]);
        provenRevision = model->revision;
        provenPlane = model->plane;
        provenHash = ProofNote::hashOf(planeText(model->plane));
        proofStarted = true;
        ghostAsked = false;
        ghost.reset();
        picture.ghost.shown = false;
    }
    proof.update();
    const ProofRunner::Status found = proof.status();
    const bool noRoute = found.state == ProofRunner::State::NoRoute ||
                         found.state == ProofRunner::State::GaveUp;
    picture.furthest.shown = noRoute;
    picture.furthest.screen = found.furthest.screen;
    picture.furthest.x = found.furthest.x + Player::width / 2.0f;
    picture.furthest.y = found.furthest.y + Player::height / 2.0f;
    if (found.state == ProofRunner::State::Found || noRoute) {
        const int frames = noRoute ? ProofNote::noRoute : static_cast<int>(found.route.size());
        const auto known = proofs.find(provenHash);
        if (known == proofs.end() || known->second != frames) {
            proofs[provenHash] = frames;
            keepPlanes();
        }
    }
    if (ghostAsked && found.state != ProofRunner::State::Searching) {
        ghostAsked = false;
        startGhost();
    }
    const auto before = proofs.find(provenHash);
    switch (found.state) {
    case ProofRunner::State::Searching:
        if (before != proofs.end())
            picture.proofLine = before->second >= 0
                                    ? "PROVEN BEFORE - ROUTE " + std::to_string(before->second)
                                    : "NO ROUTE BEFORE - PROVING";
        else
            picture.proofLine = "PROVING... " +
                                std::to_string(found.maxFrames > 0 ? found.framesSearched * 100 / found.maxFrames : 0) +
                                " PERCENT";
        break;
    case ProofRunner::State::Found:
        picture.proofLine = "ROUTE " + std::to_string(found.route.size()) + " FRAMES - R";
        break;
    case ProofRunner::State::NoRoute: picture.proofLine = "NO ROUTE - X FURTHEST"; break;
    case ProofRunner::State::GaveUp: picture.proofLine = "NO ROUTE FOUND - X FURTHEST"; break;
    default: picture.proofLine.clear(); break;
    }
}

void Editor::startGhost()
{
    const ProofRunner::Status found = proof.status();
    if (found.state == ProofRunner::State::Searching) {
        ghostAsked = true;
        model->status = "THE GHOST SETS OFF WHEN THE ROUTE IS FOUND";
        return;
    }
    if (found.state != ProofRunner::State::Found) {
        model->status = "NO ROUTE TO SHOW";
        return;
    }
    ghost = PlaneProof::gameAtStart(model->planes[model->plane]);
    ghostRoute = found.route;
    ghostStep = 0;
    model->status = "THE GHOST WALKS THE ROUTE";
}

void Editor::stepGhost()
{
    picture.walking = nullptr;
    if (!ghost)
        return;
    if (ghostStep >= ghostRoute.size()) {
        ghost.reset();
        picture.ghost.shown = false;
        model->status = "THE GHOST REACHED THE DOOR";
        return;
    }
    RouteSearch::play(*ghost, ghostRoute[ghostStep++]);
    // The editor follows the ghost from screen to screen, its blocks
    // breathing as the ghost meets them.
    model->screenIndex = ghost->currentScreen;
    model->selected = -1;
    model->allScreens = false;
    picture.walking = &ghost->currentLevel();
    picture.ghost = {true, ghost->currentScreen, static_cast<float>(ghost->player.x),
                     static_cast<float>(ghost->player.y)};
    picture.ghostFacingRight = ghost->player.facingRight;
}
