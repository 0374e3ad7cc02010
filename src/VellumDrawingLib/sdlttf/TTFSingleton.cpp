#include "VellumDrawingLib/TTFSingleton.h"

#include <SDL_ttf.h>

#include <iostream>

TTFSingleton* TTFSingleton::getInstance()
{
    static TTFSingleton instance;
    return &instance;
}

TTFSingleton::TTFSingleton()
{
    if (TTF_Init() != 0)
        std::cout << "TTFSingleton: Could not start SDL_ttf: " << TTF_GetError() << std::endl;
}

TTFSingleton::~TTFSingleton()
{
    if (TTF_WasInit())
        TTF_Quit();
}

bool TTFSingleton::isStarted() const
{
    return TTF_WasInit() != 0;
}

std::string TTFSingleton::problem() const
{
    return isStarted() ? std::string() : "SDL_ttf is not running";
}
