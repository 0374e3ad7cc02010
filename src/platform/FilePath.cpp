#include "platform/FilePath.h"

#include <dirent.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace {

// Where there are no application bundles, the folder that holds the running
// executable stands for the bundle.
std::string bundlePath()
{
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", &buffer[0], buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
        return std::string();
    buffer.resize(static_cast<std::size_t>(length));
    return FilePath(buffer).getParent().path;
}

std::string lastComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

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

FilePath FilePath::getParent() const
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? *this : FilePath(path.substr(0, slash));
}

FilePath FilePath::getChild(const std::string& name) const
{
    return FilePath(path + "/" + name);
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

FilePath FilePath::getChild(int index) const
{
    const std::vector<std::string> names = sortedEntries();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
        return FilePath();
    return getChild(names[static_cast<std::size_t>(index)]);
}

int FilePath::getNumChildren() const
{
    if (path.empty())
        return 0;
    return static_cast<int>(sortedEntries().size());
}

std::string FilePath::getExtension() const
{
    if (path.empty() || isDirectory())
        return std::string();
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(dot + 1);
}

std::string FilePath::getName() const
{
    const std::string name = lastComponent(path);
    return name.substr(0, name.rfind('.'));
}

std::string FilePath::getNameWithExtension() const
{
    return lastComponent(path);
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

FilePath FilePath::getDataFilesDir()
{
    const std::string bundle = bundlePath();
    return bundle.empty() ? FilePath() : FilePath(bundle + "/Contents/Resources");
}

FilePath FilePath::getAppDataPath()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        return FilePath(dataHome);
    const char* home = std::getenv("HOME");
    return FilePath(home ? std::string(home) + "/.local/share" : "~/.local/share");
}

FilePath FilePath::getHomeDir()
{
    if (const char* home = std::getenv("HOME"))
        return FilePath(home);
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? FilePath(entry->pw_dir) : FilePath();
}

FilePath FilePath::getCurrentExecutableDir()
{
    const std::string bundle = bundlePath();
    return bundle.empty() ? FilePath() : FilePath(bundle).getParent();
}

std::vector<FilePath> FilePath::getFontsDirs()
{
    const FilePath home = getHomeDir();
    return {home.getChild(".local").getChild("share").getChild("fonts"), home.getChild(".fonts"),
            FilePath("/usr/local/share/fonts"), FilePath("/usr/share/fonts")};
}
