#pragma once

// The size of the main display in its current mode, asked anew at every call
// and usable before SDL starts. Without a display to ask, 1024 x 768.
class ScreenResolution {
public:
    ScreenResolution() = delete;

    static int getScreenWidth();
    static int getScreenHeight();

    // What a system answers when it has no display to ask.
    static constexpr int fallbackWidth = 1024;
    static constexpr int fallbackHeight = 768;
};
