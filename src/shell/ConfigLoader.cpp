#include "shell/ConfigLoader.h"

#include "platform/FilePath.h"
#include "platform/KnownFolders.h"
#include "platform/ScreenResolution.h"
#include "shell/IntegerText.h"

#include <iostream>
#include <limits>
#include <sstream>

namespace {

const char* const folderName = "PlayScaffold";
const char* const fileName = "PlayScaffold.conf";

std::string configFile(const std::string& folder)
{
    return folder.empty() ? std::string() : FilePath(folder).getChild(fileName).path;
}

// The value text of a line: everything from position start on, or nothing
// when the line ends before it.
std::string valueText(const std::string& line, std::size_t start)
{
    return line.size() > start ? line.substr(start) : std::string();
}

// A 0-or-1 value; any other number or text leaves the flag unchanged.
void readFlag(const std::string& text, bool& flag)
{
    int value = 0;
    if (readInteger(text, value) && (value == 0 || value == 1))
        flag = value == 1;
}

// A line of at most maxLineLength characters; the rest of a longer one is
// skipped, so that it never turns into further lines. A carriage return left
// by an editor of another platform goes too.
bool nextLine(std::istream& in, std::string& line)
{
    char buffer[ConfigLoader::maxLineLength + 1];
    in.getline(buffer, sizeof buffer);
    std::streamsize stored = in.gcount();
    if (in.bad())
        return false;
    if (in.fail()) {
        if (in.eof())
            return false; // nothing left
        // Too long: keep the first part, drop the rest up to the end of the line.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    } else if (!in.eof()) {
        --stored; // the newline was taken but not stored
    }
    line.assign(buffer, static_cast<std::size_t>(stored));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

std::string getFilePath()
{
    const FilePath base = KnownFolders::user(KnownFolders::Kind::Settings);
    if (base.path.empty()) {
        std::cout << "Could not find a home folder for the settings." << std::endl;
        return std::string();
    }
    const FilePath folder = base.getChild(folderName);
    if (!folder.isDirectory()) {
        if (folder.createWithParents().empty())
            std::cout << "Created directory " << folder.path << std::endl;
        else
            std::cout << "Could not create directory " << folder.path << std::endl;
    }
    return folder.path;
}

ConfigLoader::ConfigLoader()
{
    const std::string path = configFile(getFilePath());
    if (path.empty())
        return;
    const FilePath file(path);
    std::string bytes, problem;
    if (!file.readWhole(maxFileBytes, bytes, problem)) {
        // Only a missing file is made anew: whatever else stands there is
        // the player's and stays as it is.
        if (!file.isAbsent()) {
            std::cout << "ConfigLoader: " << path << " " << problem
                      << "; using the built-in settings." << std::endl;
            return;
        }
        writeDefaults(path);
        if (!file.readWhole(maxFileBytes, bytes, problem))
            return;
    }
    std::istringstream in(bytes);
    std::string line;
    while (nextLine(in, line))
        readLine(line);
}

void ConfigLoader::readLine(const std::string& line)
{
    if (line.empty())
        return;
    const char second = line.size() > 1 ? line[1] : '\0';
    switch (line[0]) {
    case 'w':
        readInteger(valueText(line, 2), width);
        std::cout << "width = " << width << std::endl;
        break;
    case 'h':
        readInteger(valueText(line, 2), height);
        std::cout << "height = " << height << std::endl;
        break;
    case 'a':
        if (second == 'a')
            audioApi = valueText(line, 3);
        else
            readInteger(valueText(line, 2), antialias);
        break;
    case 'f':
        readFlag(valueText(line, 2), fullscreen);
        std::cout << "fullscreen = " << (fullscreen ? 1 : 0) << std::endl;
        break;
    case 'n':
        if (second == 's')
            readFlag(valueText(line, 3), noSound);
        else if (second == 'm')
            readFlag(valueText(line, 3), noMusic);
        break;
    case 'r':
        readFlag(valueText(line, 2), randomLevels);
        break;
    default:
        break;
    }
}

void ConfigLoader::createFile() const
{
    writeDefaults(configFile(getFilePath()));
}

void ConfigLoader::writeDefaults(const std::string& path) const
{
    std::ostringstream out;
    out << "w " << ScreenResolution::getScreenWidth() << "\n"
        << "h " << ScreenResolution::getScreenHeight() << "\n"
        << "a 0\n"
        << "f 1\n"
        << "ns 0\n"
        << "nm 0\n"
        << "aa CoreAudio\n"
        << "r 0\n";
    // Whole or not at all: a full disk or a crash never leaves half a file.
    if (path.empty() || !FilePath(path).writeWhole(out.str()).empty())
        std::cout << "Could not create " << (path.empty() ? std::string(fileName) : path) << std::endl;
}
