#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs a shell command line, standard error folded into the output.
CommandResult run(const std::string& command) { return runCommand(command + " 2>&1"); }

// The first cell of every table row in the README's "## heading" section
// (its subsections included), without the Markdown marks: the rows that
// follow a table's header and its rule.
std::vector<std::string> readmeTableRows(const std::string& heading)
{
    std::istringstream readme(readFile(BV_SOURCE_DIR "/README.md"));
    std::vector<std::string> rows;
    bool inSection = false;
    for (std::string line, previous; std::getline(readme, line); previous = line) {
        if (line.rfind("## ", 0) == 0)
            inSection = line == "## " + heading;
        std::smatch cell;
        if (inSection && previous.rfind("|", 0) == 0 && line.rfind("|-", 0) != 0 &&
            std::regex_search(line, cell, std::regex("^\\| *([^|]*[^| ]) *\\|")))
            rows.push_back(std::regex_replace(cell[1].str(), std::regex("`"), ""));
    }
    return rows;
}

} // namespace

// The manual page is written from the README by the build: every option and
// key the README's tables list is on it, and groff sets it without a warning.
TEST(ManualPageTest, CarriesEveryOptionAndKeyOfTheReadmeAndRendersCleanly)
{
    if (TestPlatform::isWindows())
        GTEST_SKIP() << "the Debian package's install; on Windows the installer installs, tried by the test command";
    const std::string page = BV_BINARY_DIR "/install/brickvoyager.6";
    if (!fs::exists(page))
        GTEST_SKIP() << "the manual page is not built here";

    const CommandResult warnings = run("groff -k -man -ww -z -Tutf8 '" + page + "'");
    EXPECT_EQ(warnings.status, 0);
    EXPECT_EQ(warnings.output, "");

    const CommandResult text = run("groff -k -man -Tascii -P-cbou '" + page + "'");
    ASSERT_EQ(text.status, 0) << text.output;
    for (const char* heading : {"Options", "Controls"}) {
        const std::vector<std::string> rows = readmeTableRows(heading);
        EXPECT_GE(rows.size(), 4u) << heading;
        for (const std::string& row : rows)
            EXPECT_NE(text.output.find("\n       " + row), std::string::npos) << heading << ": " << row;
    }
}

// The install rules exist only once the game itself is built, and the
// build's install script is what tells. The installed game finds its
// resources beside itself, whatever the working directory: it reads the
// levels before it prints its help.
TEST(InstallTest, InstalledGameRunsFromAnyFolderBesideItsResourcesAndTheMenuStartsIt)
{
    if (TestPlatform::isWindows())
        GTEST_SKIP() << "the Debian package's install; on Windows the installer installs, tried by the test command";
    if (readFile(BV_BINARY_DIR "/cmake_install.cmake").find("BrickVoyager.desktop") == std::string::npos)
        GTEST_SKIP() << "the game is not built here, so there is nothing to install";
    const TempDir prefix;
    const fs::path root = prefix.path();
    const CommandResult install = run("cmake --install '" BV_BINARY_DIR "' --prefix '" + prefix.path() + "'");
    ASSERT_EQ(install.status, 0) << install.output;

    const fs::path game = root / "lib/BrickVoyager/BrickVoyager";
    ASSERT_TRUE(fs::is_regular_file(game));
    EXPECT_NE(fs::status(game).permissions() & fs::perms::owner_exec, fs::perms::none);
    const fs::path link = root / "bin/BrickVoyager";
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::canonical(link), fs::canonical(game));
    for (const char* resource : {"levels.xml", "sounds/music.ogg"})
        EXPECT_EQ(readFile((root / "lib/BrickVoyager/Contents/Resources" / resource).string()),
                  readFile(BV_BINARY_DIR "/Contents/Resources/" + std::string(resource)))
            << resource;

    // The menu starts the link of this tree (the package's checks validate
    // the entry and its icons).
    const std::string entry = readFile((root / "share/applications/BrickVoyager.desktop").string());
    EXPECT_NE(entry.find("\nExec=\"" + link.string() + "\"\n"), std::string::npos) << entry;

    // SDL starts before the help is printed, so the help needs the display,
    // which now and then refuses a connection: one more try then.
    TempDir home;
    const ScopedEnv homeHere("HOME", home.path());
    const ScopedEnv configHere("XDG_CONFIG_HOME", home.path());
    CommandResult help;
    for (int attempt = 0; attempt < 2 && (attempt == 0 || help.status != 0); ++attempt)
        help = run("cd / && '" + link.string() + "' -w 800 --help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_NE(help.output.find("Command line:\n-w\n800\n--help\n\nBrick Voyager\n\nUsage:\n"), std::string::npos)
        << help.output;
    EXPECT_EQ(help.output.find("OpenGLDrawer"), std::string::npos) << "a window was opened: " << help.output;
    // Every option of the README's table is in the help.
    for (const std::string& row : readmeTableRows("Options")) {
        std::istringstream forms(row);
        for (std::string word; forms >> word;) {
            if (word[0] == '-') {
                EXPECT_NE(help.output.find(word.substr(0, word.find(','))), std::string::npos) << word;
            }
        }
    }
}
