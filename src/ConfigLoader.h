#pragma once

#include <string>

// The settings folder's path, without a trailing slash:
// $XDG_CONFIG_HOME/PlayScaffold (when absolute), else <home>/.config/PlayScaffold,
// the home folder being $HOME or the password database's. The folder
// and any missing parents are created; a failure is printed and the path is
// still returned. Empty, with a message, when there is no home folder at all.
std::string getFilePath();

// The player's settings file, PlayScaffold.conf in the settings folder: read at
// every start and written with defaults when it cannot be opened. Nothing that
// goes wrong here stops the start-up: an unreadable value keeps the setting's
// current value, and a file that can be neither read nor made leaves the
// built-in values.
class ConfigLoader {
public:
    // Sets the built-in values, then reads the file, creating it first if need be.
    ConfigLoader();

    // Writes the eight default lines, the window size taken from the display.
    void createFile() const;

    int width = 1024;
    int height = 768;
    int antialias = 0;
    bool fullscreen = true;
    bool noSound = false;
    bool noMusic = false;
    std::string audioApi = "CoreAudio";
    bool randomLevels = false;

    // Longer lines are cut here and the rest of them skipped.
    static const int maxLineLength = 127;

private:
    void readLine(const std::string& line);
    // createFile with the path already found, so that a missing folder is
    // reported once.
    void writeDefaults(const std::string& path) const;
};
