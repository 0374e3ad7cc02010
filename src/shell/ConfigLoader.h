#pragma once

#include "game/LogicalScreen.h"

#include <cstdint>
#include <string>

// The settings folder's path, without a trailing slash: PlayScaffold in the
// player's settings folder (KnownFolders: $XDG_CONFIG_HOME when absolute,
// else <home>/.config). The folder and any missing parents are created; a
// failure is printed and the path is still returned. Empty, with a message,
// when there is no home folder at all.
std::string getFilePath();

// The player's settings file, PlayScaffold.conf in the settings folder: read at
// every start and written with defaults when it does not exist. Nothing that
// goes wrong here stops the start-up: an unreadable value keeps the setting's
// current value, and a file that can be neither read nor made leaves the
// built-in values, as does anything at its place that is not a regular file
// of at most 4 kB (said in one line and left untouched).
class ConfigLoader {
public:
    // Sets the built-in values, then reads the file, creating it first if need be.
    ConfigLoader();

    // Writes the eight default lines, the window size taken from the display,
    // whole or not at all, and never over anything but a regular file.
    void createFile() const;

    int width = LogicalScreen::width;
    int height = LogicalScreen::height;
    int antialias = 0;
    bool fullscreen = true;
    bool noSound = false;
    bool noMusic = false;
    std::string audioApi = "CoreAudio";
    bool randomLevels = false;

    // Longer lines are cut here and the rest of them skipped.
    static const int maxLineLength = 127;
    // Eight such lines, and room for a person's notes.
    static constexpr std::uintmax_t maxFileBytes = 4096;

private:
    void readLine(const std::string& line);
    // createFile with the path already found, so that a missing folder is
    // reported once.
    void writeDefaults(const std::string& path) const;
};
