// Windows' own folders: the settings and what the player makes roam with
// the player's profile (%APPDATA%), the journey stays on this machine
// (%LOCALAPPDATA%). The variables win when they name an absolute path, as
// the XDG ones do on Linux, so that a test or a portable setup can move them;
// else the shell is asked for the known folder.
#include "platform/KnownFolders.h"

#include "platform/Environment.h"
#include "platform/windows/WideText.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace {

struct UserFolder {
    const char* variable;
    const KNOWNFOLDERID* id;
};

// In the order of KnownFolders::Kind.
const UserFolder userFolders[] = {
    {"APPDATA", &FOLDERID_RoamingAppData},
    {"LOCALAPPDATA", &FOLDERID_LocalAppData},
    {"APPDATA", &FOLDERID_RoamingAppData},
};

// "C:\..." or "C:/...", or a share "\\server\...".
bool isAbsolute(const std::string& path)
{
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return (path.size() >= 3 && path[1] == ':' && separator(path[2])) ||
           (path.size() >= 2 && separator(path[0]) && separator(path[1]));
}

FilePath knownFolder(const KNOWNFOLDERID& id)
{
    wchar_t* folder = nullptr;
    FilePath found;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK)
        found = FilePath(WideText::toUtf8(folder));
    CoTaskMemFree(folder);
    return found;
}

FilePath namedOrKnown(const char* variable, const KNOWNFOLDERID& id)
{
    const std::string named = Environment::get(variable);
    return isAbsolute(named) ? FilePath(named) : knownFolder(id);
}

} // namespace

FilePath KnownFolders::user(Kind kind)
{
    const UserFolder& folder = userFolders[static_cast<int>(kind)];
    return namedOrKnown(folder.variable, *folder.id);
}

FilePath KnownFolders::home()
{
    return namedOrKnown("USERPROFILE", FOLDERID_Profile);
}

FilePath KnownFolders::program()
{
    // A path may be longer than MAX_PATH where long paths are enabled.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return FilePath();
        if (length < buffer.size()) {
            buffer.resize(length);
            return FilePath(WideText::toUtf8(buffer)).getParent();
        }
        if (buffer.size() >= 32768)
            return FilePath();
        buffer.resize(buffer.size() * 2);
    }
}

// The fonts a player installed for themselves alone (Windows 10 and later)
// come first, then the system's.
std::vector<FilePath> KnownFolders::fonts()
{
    std::vector<FilePath> folders;
    const FilePath local = user(Kind::State);
    if (!local.path.empty())
        folders.push_back(local.getChild("Microsoft").getChild("Windows").getChild("Fonts"));
    const FilePath system = knownFolder(FOLDERID_Fonts);
    if (!system.path.empty())
        folders.push_back(system);
    return folders;
}
