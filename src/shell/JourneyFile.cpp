#include "shell/JourneyFile.h"

#include "platform/FilePath.h"
#include "platform/KnownFolders.h"

#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

namespace {

const char* const journeyFolderName = "PlayScaffold";
const char* const journeyFileName = "state";

// A value of one to four decimal digits and nothing else.
bool readNumber(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    int result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

} // namespace

const char* const JourneyFile::firstLine = "PlayScaffold state 1";

JourneyFile::JourneyFile() : path(defaultPath())
{
    if (path.empty())
        std::cout << "JourneyFile: Could not find a home folder; the journey is not kept." << std::endl;
}

JourneyFile::JourneyFile(std::string path) : path(std::move(path)) {}

std::string JourneyFile::defaultPath()
{
    const FilePath base = KnownFolders::user(KnownFolders::Kind::State);
    if (base.path.empty())
        return std::string();
    return base.getChild(journeyFolderName).getChild(journeyFileName).path;
}

void JourneyFile::report(const std::string& what) const
{
    std::cout << "JourneyFile: " << path << " " << what << std::endl;
}

bool JourneyFile::load(JourneyState& state) const
{
    std::string text;
    if (path.empty() || !readWhole(text))
        return false;
    if (text.empty()) {
        report("is empty; it is ignored.");
        return false;
    }
    if (!parse(text, state)) {
        report("is damaged (not a state of this game); it is ignored.");
        return false;
    }
    return true;
}

bool JourneyFile::readWhole(std::string& text) const
{
    const FilePath file(path);
    // No file yet, or no folder for it, is a first start, not a fault; a
    // folder that cannot be made is reported when saving.
    if (file.isAbsent())
        return false;
    std::string problem;
    if (!file.readWhole(maxBytes, text, problem)) {
        report(problem + "; it is ignored.");
        return false;
    }
    return true;
}

std::string JourneyFile::format(const JourneyState& state)
{
    return std::string(firstLine) + "\n" + "plane " + std::to_string(state.plane) + "\n" + "music " +
           std::to_string(state.musicLevel) + "\n" + "muted " + (state.musicMuted ? "1" : "0") + "\n";
}

bool JourneyFile::parse(const std::string& text, JourneyState& state)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() != 4 || lines[0] != firstLine)
        return false;
    JourneyState read;
    bool seen[3] = {false, false, false};
    const char* const keys[3] = {"plane ", "music ", "muted "};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        int key = 0;
        while (key < 3 && line.compare(0, 6, keys[key]) != 0)
            ++key;
        int value = 0;
        if (key == 3 || seen[key] || !readNumber(line.substr(std::min<std::size_t>(6, line.size())), value))
            return false;
        seen[key] = true;
        if (key == 0) {
            read.plane = value;
        } else if (key == 1) {
            if (value > 10)
                return false;
            read.musicLevel = value;
        } else {
            if (value > 1)
                return false;
            read.musicMuted = value == 1;
        }
    }
    state = read;
    return true;
}

bool JourneyFile::save(const JourneyState& state)
{
    if (path.empty() || folderFailed)
        return false;
    const FilePath folder = FilePath(path).getParent();
    const std::string problem = folder.createWithParents();
    if (!problem.empty()) {
        std::cout << "JourneyFile: Could not create directory " << folder.path << " (" << problem
                  << "); the journey is not kept." << std::endl;
        folderFailed = true;
        return false;
    }
    return writeThenRename(format(state));
}

bool JourneyFile::writeThenRename(const std::string& text) const
{
    const std::string problem = FilePath(path).writeWhole(text);
    if (!problem.empty()) {
        report(problem + "; it is left as it was and the journey is not saved.");
        return false;
    }
    return true;
}
