#include "editor/PlanesFile.h"

#include <iostream>
#include <utility>

#include "FatalError.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"
#include "platform/KnownFolders.h"

namespace {

// The first of "<stem><sep>1<extension>", "<stem><sep>2<extension>", ... at
// which nothing stands, or the empty path when a thousand are taken.
FilePath freeName(const FilePath& folder, const std::string& stem, const std::string& extension)
{
    for (int n = 1; n <= 1000; ++n) {
        const FilePath candidate = folder.getChild(stem + std::to_string(n) + extension);
        if (candidate.isAbsent())
            return candidate;
    }
    return FilePath();
}

// A levels file of its own, read whole within the loader's bound; false
// and the problem in words that follow the path.
bool readPlanes(const FilePath& file, PlaneList& list, std::string& problem)
{
    std::string bytes;
    if (!file.readWhole(LevelLoader::maxFileBytes, bytes, problem))
        return false;
    try {
        list = PlaneList::read(file.path, bytes);
        return true;
    } catch (const FatalError& error) {
        problem = error.message;
        return false;
    }
}

}  // namespace

PlanesFile::PlanesFile() : path(defaultPath())
{
    if (path.empty())
        std::cout << "PlanesFile: Could not find a home folder; the planes you make are not kept." << std::endl;
}

PlanesFile::PlanesFile(std::string path) : path(std::move(path)) {}

std::string PlanesFile::defaultPath()
{
    const FilePath base = KnownFolders::user(KnownFolders::Kind::Data);
    return base.path.empty() ? std::string() : base.getChild(folderName).getChild(fileName).path;
}

void PlanesFile::report(const std::string& words) const
{
    std::cout << "PlanesFile: " << words << std::endl;
}

PlaneList PlanesFile::load()
{
    const FilePath file(path);
    // No file yet is a first start.
    if (path.empty() || file.isAbsent())
        return PlaneList();
    PlaneList list;
    std::string problem;
    if (readPlanes(file, list, problem))
        return list;
    writable = keepAside(problem);
    return PlaneList();
}

bool PlanesFile::keepAside(const std::string& problem)
{
    const FilePath file(path);
    // By its name alone: a folder standing there has no extension to ask for.
    const std::string name = file.getNameWithExtension();
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    const FilePath aside = freeName(file.getParent(), stem + ".unreadable-", extension);
    const std::string moved = aside.path.empty() ? "no free name is left beside it" : file.moveTo(aside);
    if (moved.empty()) {
        report(path + " " + problem + "; it is kept as " + aside.path + " and the planes start anew.");
        return true;
    }
    report(path + " " + problem + "; it " + moved + ", so it is left as it is and the planes made now are not kept.");
    return false;
}

void PlanesFile::changed(const std::vector<Plane>& planes, const std::vector<std::string>& notes)
{
    changed(LevelWriter::write(planes, notes));
}

void PlanesFile::changed(std::string levelsText)
{
    text = std::move(levelsText);
    // The wait runs from the first change not yet written, so that steady
    // editing still reaches the disk about once a second.
    if (!waiting)
        framesWaited = 0;
    waiting = true;
}

void PlanesFile::frame()
{
    if (waiting && ++framesWaited >= framesBetweenWrites)
        write();
}

void PlanesFile::flush()
{
    if (waiting)
        write();
}

bool PlanesFile::write()
{
    waiting = false;
    if (path.empty() || !writable || folderFailed)
        return false;
    const FilePath folder = FilePath(path).getParent();
    const std::string folderProblem = folder.createWithParents();
    if (!folderProblem.empty()) {
        report("Could not create directory " + folder.path + " (" + folderProblem +
               "); the planes you make are not kept.");
        folderFailed = true;
        return false;
    }
    // A file the loader would refuse would lose every plane at the next start.
    if (text.size() > LevelLoader::maxFileBytes) {
        report(path + " would be " + std::to_string(text.size()) + " bytes, more than the " +
               std::to_string(LevelLoader::maxFileBytes) +
               " the game reads; it is left as it was until planes are made smaller or fewer.");
        return false;
    }
    const std::string problem = FilePath(path).writeWhole(text);
    if (!problem.empty()) {
        report(path + " " + problem + "; it is left as it was and the planes are not saved.");
        return false;
    }
    return true;
}

FilePath PlanesFile::exportFolder() const
{
    return path.empty() ? FilePath() : FilePath(path).getParent().getChild(exportFolderName);
}

std::string PlanesFile::exportPlane(const Plane& plane, const std::string& note)
{
    const FilePath folder = exportFolder();
    if (folder.path.empty())
        return std::string();
    const std::string folderProblem = folder.createWithParents();
    if (!folderProblem.empty()) {
        report("Could not create directory " + folder.path + " (" + folderProblem + "); the plane is not exported.");
        return std::string();
    }
    const FilePath file = freeName(folder, "plane-", ".xml");
    const std::string problem =
        file.path.empty() ? "holds no free name" : file.writeWhole(PlaneList::of(plane, note).write());
    if (!problem.empty()) {
        report((file.path.empty() ? folder.path : file.path) + " " + problem + "; the plane is not exported.");
        return std::string();
    }
    report("The plane is exported to " + file.path + ".");
    return file.path;
}

std::vector<FilePath> PlanesFile::importable() const
{
    std::vector<FilePath> files;
    const FilePath folder = exportFolder();
    const int count = folder.isDirectory() ? folder.getNumChildren() : 0;
    for (int i = 0; i < count; ++i) {
        const FilePath child = folder.getChild(i);
        if (child.getExtension() == "xml" && child.isFile())
            files.push_back(child);
    }
    return files;
}

PlaneList PlanesFile::importFile(const FilePath& file, std::size_t room) const
{
    PlaneList list;
    std::string problem;
    if (readPlanes(file, list, problem)) {
        if (list.size() == 0)
            problem = "holds no plane";
        else if (list.size() > room)
            problem = "holds " + std::to_string(list.size()) + " planes, more than the " + std::to_string(room) +
                      " there is room for";
        else
            return list;
    }
    report(file.path + " " + problem + "; nothing was taken in.");
    return PlaneList();
}
