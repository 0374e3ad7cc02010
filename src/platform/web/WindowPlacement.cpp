// The page: the canvas stays where the page lays it out, in full screen too.
#include "platform/WindowPlacement.h"

void WindowPlacement::place(bool, int, int, int, int) {}
