#include "JourneyFile.h"

#include "platform/FilePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <utility>
#include <vector>

namespace {

const char* const folderName = "PlayScaffold";
const char* const fileName = "state";

// What a file-system object that is not a regular file is, for a message.
std::string kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a link";
    return "not a regular file";
}

std::string errorText(int error)
{
    return std::strerror(error);
}

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

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
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
    std::string base;
    // A relative XDG_STATE_HOME would depend on where the game was started
    // from; the convention is to ignore it.
    const char* stateHome = std::getenv("XDG_STATE_HOME");
    if (stateHome && stateHome[0] == '/') {
        base = stateHome;
    } else {
        const FilePath home = FilePath::getHomeDir();
        if (home.path.empty())
            return std::string();
        base = home.path + "/.local/state";
    }
    return base + "/" + folderName + "/" + fileName;
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
    struct stat link;
    if (lstat(path.c_str(), &link) != 0) {
        // No file yet, or no folder for it, is a first start, not a fault;
        // a folder that cannot be made is reported when saving.
        if (errno != ENOENT && errno != ENOTDIR)
            report("cannot be examined (" + errorText(errno) + "); it is ignored.");
        return false;
    }
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        report(S_ISLNK(link.st_mode) ? "is a link to nothing; it is ignored."
                                     : "cannot be examined (" + errorText(errno) + "); it is ignored.");
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        report("is " + kindOf(info.st_mode) + ", not a file; it is ignored.");
        return false;
    }
    const std::string tooLarge = "is larger than " + std::to_string(maxBytes) + " bytes; it is ignored.";
    if (info.st_size > maxBytes) {
        report(tooLarge);
        return false;
    }
    // Not blocking, and checked again once open: what was examined may have
    // been swapped for a pipe in between.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        report("cannot be read (" + errorText(errno) + "); it is ignored.");
        return false;
    }
    struct stat opened;
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        close(fd);
        report("is not a file; it is ignored.");
        return false;
    }
    // One byte more than allowed tells a file that grew in the meantime.
    std::vector<char> buffer(maxBytes + 1);
    std::size_t total = 0;
    while (total < buffer.size()) {
        const ssize_t got = read(fd, buffer.data() + total, buffer.size() - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            close(fd);
            report("cannot be read (" + errorText(error) + "); it is ignored.");
            return false;
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    close(fd);
    if (total > static_cast<std::size_t>(maxBytes)) {
        report(tooLarge);
        return false;
    }
    text.assign(buffer.data(), total);
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
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        std::cout << "JourneyFile: Could not create directory " << folder.string() << " ("
                  << (error ? error.message() : "not a folder") << "); the journey is not kept."
                  << std::endl;
        folderFailed = true;
        return false;
    }
    return writeThenRename(format(state));
}

bool JourneyFile::writeThenRename(const std::string& text) const
{
    const std::string unchanged = "; it is left as it was and the journey is not saved.";
    struct stat there;
    if (lstat(path.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
        report("is " + kindOf(there.st_mode) + ", not a file" + unchanged);
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        report("could not be written (" + errorText(errno) + ")" + unchanged);
        return false;
    }
    // Synced before the rename: a crash then leaves the old file or the new
    // one, never a part of either.
    bool written = writeAll(fd, text) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        if (written)
            error = errno;
        unlink(temporary.c_str());
        report("could not be written (" + errorText(error) + ")" + unchanged);
        return false;
    }
    // The rename itself lasts only once the folder is synced.
    const int folder = open(std::filesystem::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}
