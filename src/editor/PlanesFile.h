#pragma once

#include <string>
#include <vector>

#include "editor/PlaneList.h"
#include "platform/FilePath.h"

// The player's own planes: one levels file, PlayScaffold/planes.xml in the
// player's data folder, and a folder "planes" beside it for planes exported
// one to a file and for files to take in. The file is written whole or not
// at all, a while after a change or at once on flush. A file that cannot be
// read is told in one "PlanesFile: " line, moved aside under a name of its
// own (never over one moved aside before) and the planes start anew; when
// it cannot even be moved, nothing is written to that path for the rest of
// the run. Every other failure is one line and leaves what was there.
class PlanesFile {
public:
    // A change waits about a second of frames before it is written, so that
    // a burst of edits makes one write.
    static constexpr int framesBetweenWrites = 33;
    static constexpr const char* folderName = "PlayScaffold";
    static constexpr const char* fileName = "planes.xml";
    static constexpr const char* exportFolderName = "planes";

    // The file at its conventional place; without a home folder there is
    // none (one line says so) and nothing is read or written.
    PlanesFile();
    explicit PlanesFile(std::string path);

    // <player's data folder>/PlayScaffold/planes.xml, or "" without a home.
    static std::string defaultPath();
    const std::string& getPath() const { return path; }

    // The planes in the file; none when there is no file yet or it cannot
    // be read (then it is moved aside as above).
    PlaneList load();

    // The planes as they now stand, to be written after framesBetweenWrites
    // frames (the last change wins).
    void changed(const std::vector<Plane>& planes, const std::vector<std::string>& notes);
    // The same, given the planes' levels text as LevelWriter wrote it.
    void changed(std::string levelsText);
    // One frame has passed: writes a change that has waited long enough.
    void frame();
    // Writes a waiting change now: leaving the editor, the game ending.
    void flush();
    bool hasWaitingChange() const { return waiting; }

    // <folder of the file>/planes.
    FilePath exportFolder() const;
    // Writes one plane as a levels file of its own into the export folder,
    // under a name not taken yet. The path written, or "" (one line said why).
    std::string exportPlane(const Plane& plane, const std::string& note = "");
    // The files in the export folder that may be taken in (".xml"), in byte order.
    std::vector<FilePath> importable() const;
    // The planes of a file to take in, when there are at least one and at
    // most room of them; else none, and one line says why.
    PlaneList importFile(const FilePath& file, std::size_t room) const;

private:
    bool write();
    // Moves the unreadable file aside; false when it could not be.
    bool keepAside(const std::string& problem);
    void report(const std::string& words) const;

    std::string path;
    std::string text;  // what is to be written
    bool waiting = false;
    int framesWaited = 0;
    bool writable = true;  // false once the path must not be written
    bool folderFailed = false;
};
