// The tests' questions answered on Windows (under Wine in the test command):
// the wide calls for folders and variables, cmd for command lines.
#include "TestPlatform.h"

#include "TestSupport.h"
#include "platform/windows/WideText.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

bool TestPlatform::isWindows()
{
    return true;
}

bool TestPlatform::isWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string TestPlatform::makeTempFolder()
{
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            base / ("bv-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount() + attempt));
        if (CreateDirectoryW(folder.wstring().c_str(), nullptr))
            return WideText::toUtf8(folder.wstring());
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    throw std::runtime_error("cannot create a temporary folder");
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

unsigned long TestPlatform::processId()
{
    return GetCurrentProcessId();
}

const char* TestPlatform::settingsVariable()
{
    return "APPDATA";
}

const char* TestPlatform::stateVariable()
{
    return "LOCALAPPDATA";
}

const char* TestPlatform::defaultAudioSystem()
{
    return "MME";
}

std::shared_ptr<void> TestPlatform::failWritesTo(const std::string& file)
{
    const HANDLE held = CreateFileW(WideText::fromUtf8(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot hold " + file + " open");
    return std::shared_ptr<void>(held, [](void* handle) { CloseHandle(handle); });
}

// Under Wine the test command has made ALSA's default device a sink for the
// prefix's user; Windows itself needs nothing.
void writeNullSoundDevice(const std::string&) {}

void TestPlatform::keepGlDriverLoaded() {}

void TestPlatform::keepAudioPluginsLoaded() {}
