// The half of FilePath that is the same on every system: taking the text
// apart and joining it, and the conventional folders built from what
// KnownFolders finds. What asks the file system is in the system's folder
// (posix/FileSystem.cpp).
#include "platform/FilePath.h"

#include "platform/KnownFolders.h"

namespace {

std::string lastComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

FilePath FilePath::getParent() const
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? *this : FilePath(path.substr(0, slash));
}

FilePath FilePath::getChild(const std::string& name) const
{
    return FilePath(path + "/" + name);
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

FilePath FilePath::getDataFilesDir()
{
    const FilePath program = KnownFolders::program();
    return program.path.empty() ? FilePath() : FilePath(program.path + "/Contents/Resources");
}

FilePath FilePath::getAppDataPath()
{
    return KnownFolders::user(KnownFolders::Kind::Data);
}

FilePath FilePath::getHomeDir()
{
    return KnownFolders::home();
}

FilePath FilePath::getCurrentExecutableDir()
{
    const FilePath program = KnownFolders::program();
    return program.path.empty() ? FilePath() : program.getParent();
}

std::vector<FilePath> FilePath::getFontsDirs()
{
    return KnownFolders::fonts();
}
