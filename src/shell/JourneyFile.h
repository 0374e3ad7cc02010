#pragma once

#include <string>

// What is kept of a run for the next one.
struct JourneyState {
    int plane = 0;           // the plane to continue on
    int musicLevel = 10;     // 0..10
    bool musicMuted = false;
};

// The small file that keeps the journey between runs, apart from the
// settings: PlayScaffold/state in the player's state folder (KnownFolders:
// $XDG_STATE_HOME when absolute, else <home>/.local/state). Reading refuses,
// in one line naming the path, anything that is not a readable regular file
// of at most maxBytes in the format below; writing goes to a temporary file
// beside it that is synced and renamed over it, so the file is always whole
// or as it was.
//
// The format, one "key value" line each after the first:
//   PlayScaffold state 1
//   plane 3
//   music 7
//   muted 0
class JourneyFile {
public:
    static constexpr long maxBytes = 4096;
    static const char* const firstLine;

    // The file at the conventional place; no path at all (and one line
    // saying so) when there is no home folder.
    JourneyFile();
    explicit JourneyFile(std::string path);

    // True when the file holds a state, which is then in state. A missing
    // file is a first start and says nothing; anything else that fails is
    // reported in one line and leaves state as it was.
    bool load(JourneyState& state) const;
    // True when the file now holds state. A failure is reported in one line
    // and leaves what was there untouched; a folder that cannot be made is
    // reported once and saving stops for the rest of the run.
    bool save(const JourneyState& state);

    // The text of a state in the file's format.
    static std::string format(const JourneyState& state);
    // Reads that text; false (state untouched) unless it is exactly a state.
    static bool parse(const std::string& text, JourneyState& state);

    // The conventional path, or empty when there is no home folder.
    static std::string defaultPath();

    const std::string& getPath() const { return path; }

private:
    bool readWhole(std::string& text) const;
    bool writeThenRename(const std::string& text) const;
    void report(const std::string& what) const;

    std::string path;
    bool folderFailed = false;
};
