#include "shell/StartupSettings.h"

#include "FatalError.h"
#include "platform/ScreenResolution.h"
#include "shell/ConfigLoader.h"
#include "shell/IntegerText.h"

#include <iostream>

namespace {

const char* const helpText =
    "\n"
    "Brick Voyager\n"
    "\n"
    "Usage:\n"
    "BrickVoyager -w [width] -h [height] -a [val] -win -ns -nm -aa -r\n"
    "\n"
    "Flags:\n"
    "--width [val] | -w [val]:\tSet the width of the window.\n"
    "--height [val] | -h [val]:\tSet the height of the window.\n"
    "--antialias [val] | -a [val]:\tSets the antialiasing level (2, 4, or 6).\n"
    "--windowed | -win:\t\tSets whether to start the game in a window rather than fullscreen.\n"
    "--nosound | -ns:\t\tSwitches off the sound output.\n"
    "--nomusic | -nm:\t\tSwitches off the background music.\n"
    "--audio-api [name] | -aa [name]:\t\tSets the audio API to use.  Can be DirectSound, ASIO, "
    "MME, ALSA, JACK, OSS, CoreAudio.\n"
    "--random | -r:\t\t\tGenerates levels randomly.  No end.\n"
    "--help:\t\t\t\tDisplay this help.\n";

bool isOption(const std::string& word, const char* longForm, const char* shortForm)
{
    return word == longForm || (shortForm && word == shortForm);
}

// One pass over all words for one option; each occurrence calls apply with
// the index of the word after it (which may be the end of the list).
template <typename Apply>
int pass(const std::vector<std::string>& words, const char* longForm, const char* shortForm,
         Apply apply)
{
    int occurrences = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (isOption(words[i], longForm, shortForm)) {
            ++occurrences;
            apply(i + 1);
        }
    }
    return occurrences;
}

// An option with an integer value: the last readable value wins.
void integerPass(const std::vector<std::string>& words, const char* longForm,
                 const char* shortForm, int& setting, int* occurrences = nullptr)
{
    const int seen = pass(words, longForm, shortForm, [&](std::size_t value) {
        if (value < words.size())
            readInteger(words[value], setting);
    });
    if (occurrences)
        *occurrences = seen;
}

// The drawer takes the sides as 16-bit values; anything outside would arrive
// as some unrelated size, so it is replaced by the display's.
void keepInRange(int& side, const char* label, const char* name, const std::function<int()>& displaySide)
{
    if (side >= 0 && side <= StartupSettings::maxWindowSide)
        return;
    const int replacement = displaySide();
    std::cout << label << " " << side << " is out of range (0 to " << StartupSettings::maxWindowSide
              << "), using the display's " << name << " = " << replacement << std::endl;
    side = replacement;
}

} // namespace

bool StartupSettings::asksForHelp(const std::vector<std::string>& words)
{
    return pass(words, "--help", nullptr, [](std::size_t) {}) > 0;
}

StartupSettings::Display StartupSettings::screenDisplay()
{
    return Display{&ScreenResolution::getScreenWidth, &ScreenResolution::getScreenHeight};
}

StartupSettings StartupSettings::settle(const std::vector<std::string>& words,
                                        const ConfigLoader& config, const Display& display)
{
    std::cout << "Command line:" << std::endl;
    for (const std::string& word : words)
        std::cout << word << std::endl;

    StartupSettings settings;
    if (words.empty())
        settings.applyConfig(config, display);
    else
        settings.applyWords(words, display);
    return settings;
}

void StartupSettings::applyWords(const std::vector<std::string>& words, const Display& display)
{
    if (asksForHelp(words)) {
        std::cout << helpText << std::flush;
        throw FatalError("\n", 0);
    }

    integerPass(words, "--width", "-w", width);
    if (width == 0) {
        width = display.width();
        std::cout << "Using default width = " << width << std::endl;
    }
    keepInRange(width, "Width", "width", display.width);
    integerPass(words, "--height", "-h", height);
    if (height == 0) {
        height = display.height();
        std::cout << "Using default height = " << height << std::endl;
    }
    keepInRange(height, "Height", "height", display.height);

    pass(words, "--windowed", "-win", [&](std::size_t) { fullscreen = false; });
    pass(words, "--nosound", "-ns", [&](std::size_t) { noSound = true; });
    pass(words, "--nomusic", "-nm", [&](std::size_t) { noMusic = true; });
    pass(words, "--audio-api", "-aa", [&](std::size_t value) {
        if (value < words.size())
            audioApi = words[value];
    });
    randomLevelsCalls = pass(words, "--random", "-r", [](std::size_t) {});

    int antialiasOptions = 0;
    integerPass(words, "--antialias", "-a", antialias, &antialiasOptions);
    if (antialiasOptions > 0 && antialias <= 1) {
        antialias = 2;
        std::cout << "Using 2x antialiasing." << std::endl;
    }
}

void StartupSettings::applyConfig(const ConfigLoader& config, const Display& display)
{
    std::cout << "Loading from config file." << std::endl;
    width = config.width;
    height = config.height;
    antialias = config.antialias >= 1 ? config.antialias : 0;
    fullscreen = config.fullscreen;
    noSound = config.noSound;
    noMusic = config.noMusic;
    audioApi = config.audioApi;
    randomLevelsCalls = config.randomLevels ? 1 : 0;
    keepInRange(width, "Width", "width", display.width);
    keepInRange(height, "Height", "height", display.height);
}
