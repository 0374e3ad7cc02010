#include "audio/MusicLevel.h"

#include <algorithm>
#include <iostream>

bool MusicLevel::keyDown(SDLKey sym)
{
    switch (sym) {
    case SDLK_m:
        muted = !muted;
        break;
    // Plus is shift and equals on most layouts, and SDL reports the key.
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
        muted = false;
        level = std::min(level + 1, loudest);
        break;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        muted = false;
        level = std::max(level - 1, 0);
        break;
    default:
        return false;
    }
    publish();
    if (muted)
        std::cout << "Music: muted" << std::endl;
    else
        std::cout << "Music: " << level << " of " << loudest << std::endl;
    return true;
}

void MusicLevel::set(int newLevel, bool newMuted)
{
    level = std::clamp(newLevel, 0, loudest);
    muted = newMuted;
    publish();
}

void MusicLevel::publish()
{
    targetGain.store(muted ? 0.0f : gainOf(level), std::memory_order_relaxed);
}

float MusicLevel::gainOf(int level)
{
    const float share = static_cast<float>(level) / static_cast<float>(loudest);
    return share * share;
}

void MusicLevel::apply(float* block, int frames)
{
    const float target = targetGain.load(std::memory_order_relaxed);
    if (target != rampTarget) {
        // A new level glides from wherever the gain is now, even mid-glide.
        rampTarget = target;
        rampStep = (target - gain) / static_cast<float>(rampFrames);
        rampLeft = rampFrames;
    }
    for (int frame = 0; frame < frames; ++frame) {
        if (rampLeft > 0) {
            // The last step lands exactly on the target, whatever rounding did.
            gain = --rampLeft == 0 ? rampTarget : gain + rampStep;
        }
        block[2 * frame] *= gain;
        block[2 * frame + 1] *= gain;
    }
}
