#include "VellumDrawingLib/TTFSingleton.h"

TTFSingleton* TTFSingleton::getInstance()
{
    static TTFSingleton instance;
    return &instance;
}
