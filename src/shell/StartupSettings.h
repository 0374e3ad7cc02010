#pragma once

#include <functional>
#include <string>
#include <vector>

class ConfigLoader;

// The settings the game starts with, settled from the command-line words or,
// when there are none, from the settings file. Settling prints what it decides
// ("Using default width = ", ...); "--help" prints the help text and throws
// FatalError("\n", 0). Unreadable option values are ignored without a word.
class StartupSettings {
public:
    // How the display's size is asked for; only called when it is needed.
    struct Display {
        std::function<int()> width;
        std::function<int()> height;
    };

    // Prints "Command line:" and the words, then settles from the words, or
    // from config when words is empty. Widths and heights that a window cannot
    // have (negative, above 65535) are reported and replaced by the display's.
    static StartupSettings settle(const std::vector<std::string>& words, const ConfigLoader& config,
                                  const Display& display = screenDisplay());

    // "--help" is among the words, which settle then answers with the help.
    static bool asksForHelp(const std::vector<std::string>& words);

    // The main display, through ScreenResolution.
    static Display screenDisplay();

    static const int maxWindowSide = 65535;

    int width = 0;
    int height = 0;
    int antialias = 0;       // multisample level; 0 is off
    bool fullscreen = true;
    bool noSound = false;    // the audio device is never started
    bool noMusic = false;    // the music is kept out of the output
    std::string audioApi;    // empty: the device's default host API
    int randomLevelsCalls = 0; // times GamePlay::useRandomLevels() is to be called

private:
    void applyWords(const std::vector<std::string>& words, const Display& display);
    void applyConfig(const ConfigLoader& config, const Display& display);
};
