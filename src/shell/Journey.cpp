#include "shell/Journey.h"

#include "audio/MusicLevel.h"
#include "game/GamePlay.h"

#include <iostream>
#include <utility>

Journey::Journey(GamePlay& game, MusicLevel& music, JourneyFile file)
    : game(game), music(music), file(std::move(file))
{
}

void Journey::resume()
{
    JourneyState state;
    if (!file.load(state))
        return;
    const int planes = static_cast<int>(game.planes.size());
    if (!game.randomLevels && state.plane >= planes) {
        std::cout << "JourneyFile: " << file.getPath() << " is at plane " << state.plane + 1
                  << ", but the levels file has only " << planes << "; it is ignored." << std::endl;
        return;
    }
    music.set(state.musicLevel, state.musicMuted);
    filePlane = state.plane;
    if (game.randomLevels || state.plane == 0)
        return;
    game.beginOnPlane(state.plane);
    keptPlane = state.plane;
    std::cout << "Journey: Continuing on plane " << state.plane + 1 << " of " << planes << "."
              << std::endl;
}

void Journey::afterFrame()
{
    if (game.randomLevels || ended)
        return;
    if (game.endFade < 1.0f) {
        // Past the last door: the next start begins anew.
        ended = true;
        keptPlane = 0;
        file.save(current());
    } else if (game.currentPlane != keptPlane) {
        keptPlane = game.currentPlane;
        file.save(current());
    }
}

bool Journey::keyDown(SDLKey sym)
{
    if (sym != SDLK_F2)
        return false;
    if (game.randomLevels) {
        std::cout << "Journey: Random screens have no journey to begin anew." << std::endl;
        return true;
    }
    game.beginOnPlane(0);
    ended = false;
    keptPlane = 0;
    std::cout << "Journey: A new journey begins." << std::endl;
    file.save(current());
    return true;
}

void Journey::keep()
{
    file.save(current());
}

JourneyState Journey::current() const
{
    JourneyState state;
    state.plane = game.randomLevels ? filePlane : keptPlane;
    state.musicLevel = music.getLevel();
    state.musicMuted = music.isMuted();
    return state;
}
