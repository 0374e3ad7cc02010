// The tests' questions answered on Windows (under Wine in the test command):
// the wide calls for folders and variables, cmd for command lines.
#include "TestPlatform.h"

#include "TestSupport.h"
#include "platform/windows/WideText.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

// A junction at link to a new folder beside it, made by cmd's own mklink
// /j; false where the file system takes no reparse points (Wine's).
bool makeJunction(const std::string& link)
{
    CreateDirectoryW(WideText::fromUtf8(link + ".d").c_str(), nullptr);
    runCommand("mklink /j \"" + link + "\" \"" + link + ".d\" > nul 2>&1");
    const DWORD attributes = GetFileAttributesW(WideText::fromUtf8(link).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

} // namespace

bool TestPlatform::isWindows() { return true; }

bool TestPlatform::isWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// An empty value removes a variable on Windows, as null does.
void TestPlatform::setVariable(const std::string& name, const char* value)
{
    _wputenv_s(WideText::fromUtf8(name).c_str(), WideText::fromUtf8(value ? value : "").c_str());
}

CommandResult runCommand(const std::string& command)
{
    CommandResult result;
    FILE* pipe = _wpopen(WideText::fromUtf8(command).c_str(), L"rb");
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    result.status = _pclose(pipe);
    return result;
}

const char* TestPlatform::settingsVariable() { return "APPDATA"; }

const char* TestPlatform::stateVariable() { return "LOCALAPPDATA"; }

const char* TestPlatform::dataVariable() { return "APPDATA"; }

const char* TestPlatform::defaultAudioSystem() { return "MME"; }

std::shared_ptr<void> TestPlatform::failWritesTo(const std::string& file)
{
    const HANDLE held = CreateFileW(WideText::fromUtf8(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot hold " + file + " open");
    return std::shared_ptr<void>(held, [](void* handle) { CloseHandle(handle); });
}

// Windows keeps CON, NUL, COM1 ... in every folder, with any extension: a
// reader that opened one would wait on a console or read nothing for ever.
std::vector<NoFileEntry> TestPlatform::entriesThatAreNoFile()
{
    const char* const device = "is a device, not a file";
    std::vector<NoFileEntry> entries;
    for (const char* name : {"CON", "nul", "NUL.txt", "com1", "LPT9.log", "aux "})
        entries.push_back({name, [](const std::string&) { return true; }, device, device});
    // Followed as a link is on Linux.
    entries.push_back({"junction", makeJunction, "is a link to a folder, not to a file", "is a link, not a file"});
    return entries;
}

// Under Wine the test command has made ALSA's default device a sink for the
// prefix's user; Windows itself needs nothing.
void writeNullSoundDevice(const std::string&) {}

void TestPlatform::keepGlDriverLoaded() {}

void TestPlatform::keepAudioPluginsLoaded() {}
