#include "input/PointerInput.h"

#include <algorithm>

namespace {

int along(int pixel, int window, int fitted, int logical)
{
    if (fitted <= 0)
        return 0;
    const int offset = (window - fitted) / 2;
    const long long scaled = static_cast<long long>(pixel - offset) * logical / fitted;
    return static_cast<int>(std::max(0LL, std::min<long long>(logical - 1, scaled)));
}

}  // namespace

void PointerInput::toLogical(int px, int py, const Fit& fit, int& x, int& y)
{
    x = along(px, fit.windowWidth, fit.fittedWidth, fit.logicalWidth);
    y = along(py, fit.windowHeight, fit.fittedHeight, fit.logicalHeight);
}

PointerInput::Pointer PointerInput::translate(const SDL_Event& event, const Fit& fit)
{
    Pointer pointer;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        pointer.kind = Kind::Move;
        toLogical(event.motion.x, event.motion.y, fit, pointer.x, pointer.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        pointer.kind = event.type == SDL_MOUSEBUTTONDOWN ? Kind::Press : Kind::Release;
        pointer.button = event.button.button;
        toLogical(event.button.x, event.button.y, fit, pointer.x, pointer.y);
        break;
    default:
        break;
    }
    return pointer;
}
