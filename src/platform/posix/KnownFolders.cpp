#include "platform/KnownFolders.h"

#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

namespace {

struct UserFolder {
    const char* variable;
    const char* underHome;
};

// The XDG base directories, in the order of KnownFolders::Kind.
const UserFolder userFolders[] = {
    {"XDG_CONFIG_HOME", ".config"},
    {"XDG_STATE_HOME", ".local/state"},
    {"XDG_DATA_HOME", ".local/share"},
};

} // namespace

FilePath KnownFolders::user(Kind kind)
{
    const UserFolder& folder = userFolders[static_cast<int>(kind)];
    const std::string named = Environment::get(folder.variable);
    if (!named.empty() && named[0] == '/')
        return FilePath(named);
    const FilePath base = home();
    return base.path.empty() ? FilePath() : FilePath(base.path + "/" + folder.underHome);
}

FilePath KnownFolders::home()
{
    // A HOME set to nothing says there is no home: the password database is
    // asked only when HOME is not set at all.
    if (Environment::isSet("HOME"))
        return FilePath(Environment::get("HOME"));
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? FilePath(entry->pw_dir) : FilePath();
}

// Where there are no application bundles, the folder that holds the running
// executable stands for the bundle.
FilePath KnownFolders::program()
{
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", &buffer[0], buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
        return FilePath();
    buffer.resize(static_cast<std::size_t>(length));
    return FilePath(buffer).getParent();
}

std::vector<FilePath> KnownFolders::fonts()
{
    const FilePath base = home();
    return {base.getChild(".local").getChild("share").getChild("fonts"), base.getChild(".fonts"),
            FilePath("/usr/local/share/fonts"), FilePath("/usr/share/fonts")};
}
