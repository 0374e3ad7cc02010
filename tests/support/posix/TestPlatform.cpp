#include "TestPlatform.h"

#include "GlDriver.h"
#include "TestSupport.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

bool TestPlatform::isWindows() { return false; }

bool TestPlatform::isWine() { return false; }

void TestPlatform::setVariable(const std::string& name, const char* value)
{
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}

CommandResult runCommand(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

const char* TestPlatform::settingsVariable() { return "XDG_CONFIG_HOME"; }

const char* TestPlatform::stateVariable() { return "XDG_STATE_HOME"; }

const char* TestPlatform::dataVariable() { return "XDG_DATA_HOME"; }

const char* TestPlatform::defaultAudioSystem() { return "ALSA"; }

std::shared_ptr<void> TestPlatform::failWritesTo(const std::string&)
{
    rlimit before;
    if (getrlimit(RLIMIT_FSIZE, &before) != 0)
        throw std::runtime_error("cannot read the limit on file sizes");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 16;
    if (setrlimit(RLIMIT_FSIZE, &small) != 0)
        throw std::runtime_error("cannot limit the size of files");
    return std::shared_ptr<void>(nullptr, [before, previousHandler](void*) {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
    });
}

std::vector<NoFileEntry> TestPlatform::entriesThatAreNoFile()
{
    const char* const notALink = "is a link, not a file";
    return {
        {"device-link", [](const std::string& path) { return symlink("/dev/zero", path.c_str()) == 0; },
         "is a link to a device, not to a file", notALink},
        // Nobody ever writes to the pipe: an open that waited for a writer would hang.
        {"pipe", [](const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }, "is a pipe, not a file",
         "is a pipe, not a file"},
        {"socket", [](const std::string& path) { return mknod(path.c_str(), S_IFSOCK | 0644, 0) == 0; },
         "is a socket, not a file", "is a socket, not a file"},
        {"dangling-link", [](const std::string& path) { return symlink((path + ".gone").c_str(), path.c_str()) == 0; },
         "is a link to nothing", notALink},
        {"link-loop",
         [](const std::string& path) {
             return symlink((path + ".other").c_str(), path.c_str()) == 0 &&
                    symlink(path.c_str(), (path + ".other").c_str()) == 0;
         },
         "is a link that leads round in a circle", notALink},
        {"folder-link",
         [](const std::string& path) {
             return mkdir((path + ".d").c_str(), 0755) == 0 && symlink((path + ".d").c_str(), path.c_str()) == 0;
         },
         "is a link to a folder, not to a file", notALink},
    };
}

void writeNullSoundDevice(const std::string& home)
{
    std::ofstream(home + "/.asoundrc")
        << "pcm.!default { type file slave.pcm \"null\" file \"/dev/null\" format \"raw\" }\n";
}

void TestPlatform::keepGlDriverLoaded() { ::keepGlDriverLoaded(); }

// ALSA loads its plugin modules (JACK's, PulseAudio's ...) while PortAudio
// probes the devices and unloads them again; LeakSanitizer then finds what
// those modules' libraries keep for the process referenced only from an
// unloaded, unnamed module, which no suppression can name. Kept loaded, the
// reports name the library and the suppressions file can speak of it.
void TestPlatform::keepAudioPluginsLoaded()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&snd_asoundlib_version), &info) || !info.dli_fname)
        return;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(info.dli_fname).parent_path() / "alsa-lib", error))
        if (entry.path().extension() == ".so")
            dlopen(entry.path().c_str(), RTLD_NOW | RTLD_NODELETE);
}
