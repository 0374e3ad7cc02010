#include <gtest/gtest.h>

#include "CoutCapture.h"
#include "editor/PlanesFile.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"
#include "TestSupport.h"

namespace {

// The shipped planes, which every case writes and reads.
const LevelLoader& shipped()
{
    static const LevelLoader loader(std::string(BV_SOURCE_DIR) + "/resources/levels.xml");
    return loader;
}

std::vector<Plane> firstPlanes(std::size_t count)
{
    return std::vector<Plane>(shipped().planes.begin(), shipped().planes.begin() + count);
}

} // namespace

TEST(PlanesFileTest, AChangeIsWrittenAboutASecondLaterOrAtOnceOnFlushAndReadsBack)
{
    const TempDir dir;
    const std::string path = dir.path() + "/PlayScaffold/planes.xml";
    PlanesFile file(path);
    EXPECT_EQ(file.load().size(), 0u);  // a first start says nothing
    file.changed(firstPlanes(2), {"proven"});
    for (int frame = 1; frame < PlanesFile::framesBetweenWrites; ++frame) {
        file.frame();
        // Steady editing does not put the write off.
        file.changed(firstPlanes(3), {"proven"});
    }
    EXPECT_TRUE(FilePath(path).isAbsent());
    file.frame();
    EXPECT_EQ(readFile(path), LevelWriter::write(firstPlanes(3), {"proven"}));
    EXPECT_FALSE(file.hasWaitingChange());

    file.changed(firstPlanes(1), {});
    file.flush();
    // More than the game would read back is never written over what it can.
    {
        CoutCapture out;
        file.changed(std::string(LevelLoader::maxFileBytes + 1, ' '));
        file.flush();
        EXPECT_EQ(out.lines().size(), 1u);
    }
    PlanesFile again(path);
    const PlaneList read = again.load();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(LevelWriter::write(read.planes), LevelWriter::write(firstPlanes(1)));
}

TEST(PlanesFileTest, AFileThatCannotBeReadIsKeptAsideUnderANewNameAndNeverWrittenOver)
{
    const TempDir dir;
    const std::string path = dir.path() + "/planes.xml";
    const struct {
        std::string content;
        const char* words;
    } cases[] = {
        {"\x89PNG\r\n\x1a\n\xff\xfe random bytes", "cannot be read as XML"},
        {"<html><body/></html>", "has the root element 'html'"},
        {"<!-- nothing but a comment -->", "holds no 'BrickVoyager' root element"},
    };
    std::vector<std::string> kept;
    for (const auto& c : cases) {
        dir.write("planes.xml", c.content);
        CoutCapture out;
        PlanesFile file(path);
        EXPECT_EQ(file.load().size(), 0u);
        const std::string aside =
            FilePath(dir.path()).getChild("planes.unreadable-" + std::to_string(kept.size() + 1) + ".xml").path;
        ASSERT_EQ(out.lines().size(), 1u);
        EXPECT_EQ(out.lines()[0].rfind("PlanesFile: " + path + " ", 0), 0u);
        EXPECT_NE(out.lines()[0].find(c.words), std::string::npos) << out.lines()[0];
        EXPECT_NE(out.lines()[0].find("kept as " + aside), std::string::npos) << out.lines()[0];
        kept.push_back(c.content);
        file.changed(firstPlanes(1), {});
        file.flush();
        EXPECT_EQ(PlanesFile(path).load().size(), 1u);
    }
    // Each earlier one is still there as it was.
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(readFile(dir.path() + "/planes.unreadable-" + std::to_string(i + 1) + ".xml"), kept[i]);
}

TEST(PlanesFileTest, WhatStandsThereInsteadOfAFileIsToldInTheFileWordsAndMovedOrLeftAlone)
{
    for (const NoFileEntry& entry : entriesThatAreNoFile(LevelLoader::maxFileBytes)) {
        if (entry.name == "missing")
            continue;
        SCOPED_TRACE(entry.name);
        const TempDir dir;
        const FilePath at = FilePath(dir.path()).getChild(entry.name);
        if (!entry.make(at.path))
            continue;  // Wine makes no junctions
        CoutCapture out;
        PlanesFile file(at.path);
        EXPECT_EQ(file.load().size(), 0u);
        ASSERT_EQ(out.lines().size(), 1u);
        EXPECT_EQ(out.lines()[0].rfind("PlanesFile: " + at.path + " " + entry.readProblem + "; ", 0), 0u)
            << out.lines()[0];
        const std::vector<std::string> before = snapshot(dir.path());
        file.changed(firstPlanes(1), {});
        file.flush();
        if (out.lines()[0].find("kept as") != std::string::npos)
            EXPECT_EQ(PlanesFile(at.path).load().size(), 1u);
        else  // a device name cannot move: nothing is written to it
            EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST(PlanesFileTest, ExportedPlanesGetNewNamesAndAreTakenInWithinTheRoomLeft)
{
    const TempDir dir;
    PlanesFile file(dir.path() + "/PlayScaffold/planes.xml");
    const std::string first = file.exportPlane(shipped().planes[4], "proof");
    const std::string second = file.exportPlane(shipped().planes[4]);
    EXPECT_EQ(first, file.exportFolder().getChild("plane-1.xml").path);
    EXPECT_EQ(second, file.exportFolder().getChild("plane-2.xml").path);
    dir.write("PlayScaffold/planes/notes.txt", "not a plane");
    const std::string damaged = dir.write("PlayScaffold/planes/plane-3.xml", "<BrickVoyager><Plane>");
    const std::string empty = dir.write("PlayScaffold/planes/zero.xml", "<BrickVoyager/>");
    const std::vector<FilePath> found = file.importable();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].path, first);

    const PlaneList taken = file.importFile(found[0], 1);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken.notes[0], "proof");
    EXPECT_EQ(LevelWriter::write(taken.planes), LevelWriter::write({shipped().planes[4]}));

    const struct {
        std::string path;
        std::size_t room;
        const char* words;
    } refused[] = {{second, 0, "more than the 0 there is room for"},
                   {damaged, 5, "cannot be read as XML"},
                   {empty, 5, "holds no plane"},
                   {dir.path() + "/PlayScaffold/planes/gone.xml", 5, "does not exist"}};
    for (const auto& r : refused) {
        CoutCapture out;
        EXPECT_EQ(file.importFile(FilePath(r.path), r.room).size(), 0u);
        ASSERT_EQ(out.lines().size(), 1u);
        EXPECT_EQ(out.lines()[0].rfind("PlanesFile: " + r.path + " ", 0), 0u) << out.lines()[0];
        EXPECT_NE(out.lines()[0].find(r.words), std::string::npos) << out.lines()[0];
        EXPECT_NE(out.lines()[0].find("nothing was taken in"), std::string::npos);
    }
}
