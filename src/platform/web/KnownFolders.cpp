// The page: one home folder (Emscripten's HOME, which the page keeps in
// IndexedDB), the player's folders under it as XDG lays them out, the data
// the build preloads at /Contents/Resources (so the program's folder is the
// root) and no font folders, since the page reads no font files.
#include "platform/KnownFolders.h"

#include "platform/Environment.h"

namespace {

// Under the home folder, in the order of KnownFolders::Kind.
const char* const userFolders[] = {".config", ".local/state", ".local/share"};

} // namespace

FilePath KnownFolders::user(Kind kind)
{
    const FilePath base = home();
    return base.path.empty() ? FilePath()
                             : FilePath(base.path + "/" + userFolders[static_cast<int>(kind)]);
}

FilePath KnownFolders::home()
{
    return FilePath(Environment::get("HOME"));
}

FilePath KnownFolders::program()
{
    return FilePath("/");
}

std::vector<FilePath> KnownFolders::fonts()
{
    return {};
}
