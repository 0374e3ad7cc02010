// No page around the game: a plane is shared as an exported file.
#include "platform/ShareLink.h"

bool ShareLink::available()
{
    return false;
}

bool ShareLink::requested()
{
    return false;
}

void ShareLink::show(const std::string&) {}

std::string ShareLink::takeArrived()
{
    return std::string();
}
