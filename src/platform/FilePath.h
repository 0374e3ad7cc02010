#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A file-system path held as text, with queries on what it names and the
// conventional folders of this platform. The text is never normalised; an
// empty path stands for "no path" and never exists. No operation throws or
// prints: a failed query answers false, 0 or the empty path. The text
// operations are portable; what asks the file system is the system's own.
class FilePath {
public:
    FilePath() = default;
    explicit FilePath(const std::string& path) : path(path) {}

    void setPath(const std::string& newPath) { path = newPath; }

    bool exists() const;
    // Exists and cannot be opened as a folder (so an unreadable folder counts).
    bool isFile() const;
    bool isDirectory() const;
    // Makes the folder (mode 0775 where there are modes); false when it
    // exists already or the parent is missing.
    bool createAsDirectory() const;
    // Makes the folder and whichever of its parents are missing, each as
    // createAsDirectory does. Empty when a folder stands there afterwards,
    // else what went wrong in the system's words ("Not a directory").
    std::string createWithParents() const;

    // Nothing at all stands at the path, not even a link to nowhere: the one
    // problem that writing the file cures.
    bool isAbsent() const;

    // Why the path cannot be read as a regular file of at most maxBytes, in
    // words that follow the path in a message ("is a folder, not a file");
    // empty when it can. Only looks: nothing is opened.
    std::string readProblem(std::uintmax_t maxBytes) const;
    // Opens the file for reading when readProblem finds nothing, then checks
    // the opened descriptor again, so that a pipe or a device put there in
    // between can neither block the open nor be read. Null and the problem
    // otherwise.
    std::FILE* openForReading(std::uintmax_t maxBytes, std::string& problem) const;
    // The whole file, opened as openForReading does and read up to maxBytes;
    // false and the problem when it cannot be, or grew past maxBytes.
    bool readWhole(std::uintmax_t maxBytes, std::string& bytes, std::string& problem) const;
    // Writes bytes to a new file beside the path and renames it over the
    // path, so that the path holds the old file or the whole new one, never
    // a part. Refuses when anything but a regular file stands there. Empty,
    // or what went wrong in words that follow the path.
    std::string writeWhole(const std::string& bytes) const;

    // Moves whatever stands at the path (a file, a folder, a link itself)
    // to destination, which must be free: never over anything. Empty, or
    // what went wrong in words that follow the path.
    std::string moveTo(const FilePath& destination) const;

    // The text before the last separator ("/", on Windows "\\" too); the
    // whole text when there is none.
    FilePath getParent() const;
    // The text, the system's separator ("/", on Windows "\\") and name,
    // whatever the text ends with.
    FilePath getChild(const std::string& name) const;
    // The index-th entry of the folder in byte order, or the empty path.
    FilePath getChild(int index) const;
    int getNumChildren() const;

    // The text after the last "." of the whole path; empty for a folder.
    std::string getExtension() const;
    // The last component without its last "." and what follows.
    std::string getName() const;
    std::string getNameWithExtension() const;

    // Copies the file to destination with the system's own copy (cp, the
    // two paths as separate arguments so that no shell ever sees them).
    bool copyTo(const std::string& destination);

    // <folder of the running executable>/Contents/Resources.
    static FilePath getDataFilesDir();
    // The player's data folder by the rule of KnownFolders::user.
    static FilePath getAppDataPath();
    // The player's home folder; empty when there is none.
    static FilePath getHomeDir();
    // The parent of the executable's folder: the folder holding the application.
    static FilePath getCurrentExecutableDir();
    // The user's own font folders first, then the system's.
    static std::vector<FilePath> getFontsDirs();

    std::string path;

private:
    std::vector<std::string> sortedEntries() const;
    // A name beside the path for the new file of a whole write: the process
    // and a counter keep two writers apart.
    std::string freshSibling(unsigned long processId) const;
};
