#pragma once

#include "TestPlatform.h"

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return root; }
    // Writes a file below the folder, and any folders it is in, and returns its path.
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string root;
};

// Sets (or, given no value, removes) an environment variable for one scope
// and puts back what was there before.
class ScopedEnv {
public:
    ScopedEnv(const std::string& name, const char* value);
    ScopedEnv(const std::string& name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    bool hadValue;
    std::string oldValue;
};

std::string readFile(const std::string& path);

// Every entry below a folder as it stands (links not followed), to show that
// nothing was written over, through or beside what stood there.
std::vector<std::string> snapshot(const std::string& folder);

// A folder, a file of bound + 1 bytes, nothing at all, and the kinds only
// this system has (TestPlatform::entriesThatAreNoFile).
std::vector<NoFileEntry> entriesThatAreNoFile(std::uintmax_t bound);

// Makes ALSA's default device, for a process whose HOME is home, a sink
// that needs no sound card and keeps nothing, as in the test command's home.
void writeNullSoundDevice(const std::string& home);

// The player's state file as the game writes it.
inline std::string stateText(int plane, int music, int muted = 0)
{
    return "PlayScaffold state 1\nplane " + std::to_string(plane) + "\nmusic " + std::to_string(music) +
           "\nmuted " + std::to_string(muted) + "\n";
}

// What a shell command line printed on standard output, and how it ended.
struct CommandResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string output;
};

CommandResult runCommand(const std::string& command);

// A JACK server answers (the one JACK_DEFAULT_SERVER names, if set).
inline bool jackRunning() { return runCommand("jack_lsp > /dev/null 2>&1").status == 0; }
