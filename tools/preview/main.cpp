// Shows a whole world at a glance: every screen of every plane of a levels
// file, painted by the game itself through the real OpenGL drawer as it looks
// once the fade-in has completed, written as one PNG per screen
// (planeP-screenS.png, both counted from 0) and sheet.png, all planes side by
// side, each as its 2 x 2 arrangement of screens.
//   BrickVoyagerPreview [--out FOLDER] [--route SCRIPT] [--size WxH] [LEVELS_FILE]
// The levels file defaults to the one beside the executable; FOLDER to
// "preview"; the window, and so each screen's PNG, to 1024 x 768 (another
// size shows the picture fitted into it as the game would, bars and all). With a walkthrough script, the figure's route is laid over the
// screens as faint figures. A bad levels file is reported with the loader's
// messages. Exit status: 0 done, 1 bad levels file or unwritable output,
// 2 bad command line or script, 3 no window.
#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ContactSheet.h"
#include "FatalError.h"
#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "GlDriver.h"
#include "PngWriter.h"
#include "ShowScreen.h"
#include "VellumDrawingLib/NullDrawer.h"
#include "VellumDrawingLib/OpenGLDrawer.h"
#include "Walkthrough.h"

namespace {

// One faint figure for so many frames of the route.
constexpr int routeStride = 6;

struct Options {
    std::string out = "preview";
    std::string route;
    std::string levels;
    int width = ContactSheet::screenWidth;
    int height = ContactSheet::screenHeight;
};

struct Footprint {
    short x;
    short y;
    bool facingRight;
};

// Where the figure stood on each screen while the script played: per plane,
// per screen, one footprint every few frames.
using Route = std::vector<std::vector<std::vector<Footprint>>>;

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if ((word == "--out" || word == "--route") && i + 1 < argc)
            (word == "--out" ? options.out : options.route) = argv[++i];
        else if (word == "--size" && i + 1 < argc) {
            char rest = 0;
            if (std::sscanf(argv[++i], "%dx%d%c", &options.width, &options.height, &rest) != 2 ||
                options.width < 16 || options.height < 16 || options.width > 8192 ||
                options.height > 8192)
                return false;
        }
        else if (!word.empty() && word[0] != '-' && options.levels.empty())
            options.levels = word;
        else
            return false;
    }
    return true;
}

bool playRoute(const std::string& path, const std::string& levels, Route& route)
{
    std::ifstream in(path);
    if (!in) {
        std::cout << "Preview: Could not open the route " << path << std::endl;
        return false;
    }
    Walkthrough::Script script;
    std::string error;
    if (!Walkthrough::parseScript(in, script, error)) {
        std::cout << "Preview: " << path << ", " << error << std::endl;
        return false;
    }
    GamePlay game(levels);
    route.assign(game.planes.size(), std::vector<std::vector<Footprint>>(Plane::screenCount));
    NullDrawer drawer(LogicalScreen::width, LogicalScreen::height);
    std::size_t next = 0;
    for (int frame = 0; frame <= script.lastFrame; ++frame) {
        for (; next < script.events.size() && script.events[next].frame == frame; ++next)
            Walkthrough::sendKey(game, script.events[next].key, script.events[next].down);
        game.draw(&drawer);
        if (frame % routeStride == 0)
            route[game.currentPlane][game.currentScreen].push_back(
                {game.player.x, game.player.y, game.player.facingRight});
    }
    return true;
}

void drawRoute(OpenGLDrawer& drawer, const GamePlay& game, const std::vector<Footprint>& steps)
{
    for (const Footprint& step : steps) {
        if (step.facingRight)
            drawer.drawImage(game.guystand1, step.x, step.y, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.3f);
        else
            drawer.drawImage(game.guystand1, step.x + Player::width, step.y, -1.0f, 1.0f, 1.0f,
                             1.0f, 1.0f, 0.3f);
    }
}

// The window's RGB rows, bottom first, as RGBA rows top first.
std::vector<unsigned char> toRgba(const unsigned char* rgb, int width, int height)
{
    std::vector<unsigned char> rgba(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* from = rgb + (std::size_t(height - 1 - y) * width + x) * 3;
            unsigned char* to = &rgba[(std::size_t(y) * width + x) * 4];
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
            to[3] = 255;
        }
    return rgba;
}

// Creates the folder and any missing parents.
bool makeFolder(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            std::cout << "Preview: Could not create " << part << ": " << std::strerror(errno)
                      << std::endl;
            return false;
        }
        if (slash == std::string::npos)
            return true;
    }
}

int render(const Options& options, GamePlay& game, const Route& route)
{
    OpenGLDrawer::prepareVideo();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cout << "Preview: SDL_Init failed: " << SDL_GetError() << std::endl;
        return 3;
    }
    const int width = options.width;
    const int height = options.height;
    auto drawer = std::make_unique<OpenGLDrawer>(ContactSheet::screenWidth,
                                                 ContactSheet::screenHeight);
    if (!drawer->initialise(static_cast<unsigned short>(width),
                            static_cast<unsigned short>(height), false, 0)) {
        std::cout << "Preview: No window: " << SDL_GetError() << std::endl;
        drawer.reset();
        SDL_Quit();
        return 3;
    }
    keepGlDriverLoaded();
    const int planeCount = static_cast<int>(game.planes.size());
    ContactSheet sheet(planeCount);
    int status = 0;
    for (int plane = 0; plane < planeCount && status == 0; ++plane)
        for (int screen = 0; screen < Plane::screenCount && status == 0; ++screen) {
            if (game.planes[plane].levels[screen] == nullptr)
                continue;
            showScreen(game, plane, screen);
            drawer->beginDrawing();
            game.draw(drawer.get());
            if (!route.empty())
                drawRoute(*drawer, game, route[plane][screen]);
            const std::unique_ptr<unsigned char[]> rgb(drawer->getScreenPixels());
            const std::vector<unsigned char> rgba = toRgba(rgb.get(), width, height);
            const std::string path = options.out + "/plane" + std::to_string(plane) + "-screen" +
                                     std::to_string(screen) + ".png";
            if (!writePng(path, width, height, rgba)) {
                std::cout << "Preview: Could not write " << path << std::endl;
                status = 1;
            }
            sheet.add(plane, screen, rgba, width, height);
        }
    drawer.reset();
    SDL_Quit();
    if (status != 0)
        return status;
    const std::string sheetPath = options.out + "/sheet.png";
    if (!sheet.write(sheetPath)) {
        std::cout << "Preview: Could not write " << sheetPath << std::endl;
        return 1;
    }
    std::cout << "Preview: " << planeCount << " planes, " << planeCount * Plane::screenCount
              << " screens and the sheet written to " << options.out << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cout << "usage: BrickVoyagerPreview [--out FOLDER] [--route SCRIPT] [--size WxH] "
                     "[LEVELS_FILE]"
                  << std::endl;
        return 2;
    }
    if (options.levels.empty())
        options.levels = LevelLoader::getPath();
    try {
        GamePlay game(options.levels);
        Route route;
        if (!options.route.empty() && !playRoute(options.route, options.levels, route))
            return 2;
        if (!makeFolder(options.out))
            return 1;
        return render(options, game, route);
    } catch (const FatalError& error) {
        error.display();
        return 1;
    }
}
