// The half of FilePath that is the same on every system: taking the text
// apart and joining it (with the system's separators), reading a whole file
// once it is open, and the conventional folders built from what
// KnownFolders finds. What asks the file system is in the system's folder
// (posix/FileSystem.cpp, windows/FileSystem.cpp).
#include "platform/FilePath.h"

#include "platform/FileProblem.h"
#include "platform/KnownFolders.h"
#include "platform/PathSeparators.h"

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

std::string lastComponent(const std::string& path)
{
    const std::size_t slash = path.find_last_of(PathSeparators::all());
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

FilePath FilePath::getParent() const
{
    const std::size_t slash = path.find_last_of(PathSeparators::all());
    return slash == std::string::npos ? *this : FilePath(path.substr(0, slash));
}

FilePath FilePath::getChild(const std::string& name) const
{
    return FilePath(path + PathSeparators::preferred() + name);
}

FilePath FilePath::getChild(int index) const
{
    const std::vector<std::string> names = sortedEntries();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
        return FilePath();
    return getChild(names[static_cast<std::size_t>(index)]);
}

bool FilePath::readWhole(std::uintmax_t maxBytes, std::string& bytes, std::string& problem) const
{
    bytes.clear();
    std::FILE* file = openForReading(maxBytes, problem);
    if (!file)
        return false;
    // Reading on past the size it had tells a file that grew since it was measured.
    char buffer[65536];
    while (problem.empty()) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, file);
        if (bytes.size() + read > maxBytes)
            problem = FileProblem::tooLarge(bytes.size() + read, maxBytes);
        else
            bytes.append(buffer, read);
        if (read < sizeof buffer) {
            if (std::ferror(file))
                problem = FileProblem::because("cannot be read", std::strerror(errno));
            break;
        }
    }
    std::fclose(file);
    if (!problem.empty())
        bytes.clear();
    return problem.empty();
}

std::string FilePath::freshSibling(unsigned long processId) const
{
    static std::atomic<unsigned> counter{0};
    return path + ".new-" + std::to_string(processId) + "-" + std::to_string(counter++);
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
    return program.path.empty() ? FilePath() : program.getChild("Contents").getChild("Resources");
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
