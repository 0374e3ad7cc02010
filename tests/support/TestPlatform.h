#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Something that stands where a file is expected but is no file a reader may
// open; what FilePath says of it on reading, and on a whole write ("" where a
// write may rightly replace it). make puts one at the path and answers false
// where this file system makes none of that kind.
struct NoFileEntry {
    std::string name;
    std::function<bool(const std::string& path)> make;
    std::string readProblem, writeProblem;
};

// What the tests ask of the system they run on, answered by the source CMake
// picks for it (posix/ or windows/), which also holds TestSupport.h's
// runCommand and writeNullSoundDevice, so that no test source needs to know
// the system when it is compiled. A test that needs what only one system has asks
// here and skips with the reason elsewhere. Failures to set things up throw
// or fail the calling test; nothing is silently left out.
class TestPlatform {
public:
    TestPlatform() = delete;

    static bool isWindows();
    // Windows' calls answered by Wine (as in the test command), not Windows.
    static bool isWine();

    // Sets the variable or, given null, removes it.
    static void setVariable(const std::string& name, const char* value);

    // The variables that move the player's settings and state folders, as
    // KnownFolders reads them.
    static const char* settingsVariable();
    static const char* stateVariable();
    // Where the player's data (the planes) is kept.
    static const char* dataVariable();
    // The audio system PortAudio takes when the one asked for is missing.
    static const char* defaultAudioSystem();

    // Until the handle goes, writing file whole fails: on POSIX a limit on
    // the size of files cuts the new one short, on Windows the old one is
    // held open so that nothing can take its place.
    static std::shared_ptr<void> failWritesTo(const std::string& file);
    // The kinds of NoFileEntry only this system has: on POSIX pipes, sockets
    // and links that lead to no file; on Windows the names kept for devices
    // in every folder (made by naming them) and junctions.
    static std::vector<NoFileEntry> entriesThatAreNoFile();

    // What LeakSanitizer needs so that drivers and plugins unloaded early are
    // not taken for leaks; nothing where there is no LeakSanitizer.
    static void keepGlDriverLoaded();
    static void keepAudioPluginsLoaded();
};
