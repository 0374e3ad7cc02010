// FilePath's questions to a POSIX file system: what stands at a path, opening
// and writing whole files, folders made and listed, and the copy. The text
// operations are the same everywhere (platform/FilePath.cpp).
#include "platform/FilePath.h"

#include "platform/FileProblem.h"
#include "platform/StorageSync.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

// What stands there, for "is a folder, not a file".
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
    return "something else";
}

std::string systemError(const std::string& what, int error)
{
    return FileProblem::because(what, std::strerror(error));
}

// The problem of a file whose status is known: not regular, or too large.
std::string statusProblem(const struct stat& info, std::uintmax_t maxBytes, bool throughLink)
{
    if (!S_ISREG(info.st_mode))
        return FileProblem::notAFile(kindOf(info.st_mode), throughLink);
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        return FileProblem::tooLarge(static_cast<std::uintmax_t>(info.st_size), maxBytes);
    return std::string();
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool FilePath::isAbsent() const
{
    struct stat info;
    return path.empty() || (lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR));
}

std::string FilePath::readProblem(std::uintmax_t maxBytes) const
{
    if (path.empty())
        return "does not exist";
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "does not exist"
                                                   : systemError("cannot be looked at", errno);
    const bool link = S_ISLNK(info.st_mode);
    if (link && stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "is a link to nothing";
        if (errno == ELOOP)
            return "is a link that leads round in a circle";
        return systemError("is a link that cannot be followed", errno);
    }
    std::string problem = statusProblem(info, maxBytes, link);
    if (problem.empty() && access(path.c_str(), R_OK) != 0)
        problem = systemError("cannot be read", errno);
    return problem;
}

std::FILE* FilePath::openForReading(std::uintmax_t maxBytes, std::string& problem) const
{
    problem = readProblem(maxBytes);
    if (!problem.empty())
        return nullptr;
    // O_NONBLOCK: should a pipe have taken the file's place since the look,
    // the open must not wait for a writer. On a regular file it changes nothing.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        problem = systemError("cannot be opened", errno);
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0)
        problem = systemError("cannot be looked at", errno);
    else
        problem = statusProblem(info, maxBytes, false);
    std::FILE* file = problem.empty() ? fdopen(fd, "rb") : nullptr;
    if (!file) {
        if (problem.empty())
            problem = systemError("cannot be opened", errno);
        close(fd);
    }
    return file;
}

std::string FilePath::writeWhole(const std::string& bytes) const
{
    if (path.empty())
        return "is no path";
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return FileProblem::notAFile(kindOf(info.st_mode), false);
    const std::string fresh = freshSibling(static_cast<unsigned long>(getpid()));
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemError("cannot be written", errno);
    bool written = writeAll(fd, bytes) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(fresh.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(fresh.c_str());
        return systemError("cannot be written", error);
    }
    // The rename itself lasts through a crash only once the folder is synced.
    const int folder = open(getParent().path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    StorageSync::afterWrite(*this);
    return std::string();
}

std::string FilePath::moveTo(const FilePath& destination) const
{
    if (path.empty() || destination.path.empty())
        return "is no path";
    // rename() would replace a file standing there; link() would not, but
    // moves no folder, and the name is picked free by the caller anyway.
    if (!destination.isAbsent())
        return "cannot be moved to " + destination.path + ", where something stands already";
    if (rename(path.c_str(), destination.path.c_str()) != 0)
        return systemError("cannot be moved to " + destination.path, errno);
    StorageSync::afterWrite(destination);
    return std::string();
}

bool FilePath::exists() const
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool FilePath::isFile() const
{
    if (!exists())
        return false;
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return true;
    closedir(dir);
    return false;
}

bool FilePath::isDirectory() const
{
    return exists() && !isFile();
}

bool FilePath::createAsDirectory() const
{
    return !path.empty() && mkdir(path.c_str(), 0775) == 0;
}

std::string FilePath::createWithParents() const
{
    if (path.empty())
        return "is no path";
    // Up to the first step that stands, then down again making each.
    std::vector<FilePath> missing;
    for (FilePath step = *this;; step = step.getParent()) {
        struct stat info;
        if (stat(step.path.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return std::strerror(ENOTDIR);
            break;
        }
        if (errno != ENOENT)
            return std::strerror(errno);
        missing.push_back(step);
        const std::string parent = step.getParent().path;
        if (parent.empty() || parent == step.path)
            break; // past the root, or a relative path with no "/" left
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (it->createAsDirectory())
            continue;
        const int error = errno;
        if (!it->isDirectory())
            return std::strerror(error);
    }
    return std::string();
}

std::vector<std::string> FilePath::sortedEntries() const
{
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    // std::string compares by unsigned byte value, as the order must be.
    std::sort(names.begin(), names.end());
    return names;
}

bool FilePath::copyTo(const std::string& destination)
{
    if (path.empty())
        return false;
    // "--" ends cp's options, so a path that begins with "-" is still a path.
    const char* arguments[] = {"cp", "--", path.c_str(), destination.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "cp", nullptr, nullptr, const_cast<char* const*>(arguments), environ) != 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
