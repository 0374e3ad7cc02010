#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs a shell command line, standard error folded into the output.
CommandResult run(const std::string& command)
{
    return runCommand(command + " 2>&1");
}

// Installs the build tree into a fresh prefix once for all tests here. The
// install rules exist only once the game itself is built, and the build's
// install script is what tells.
class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string rules = readFile(BV_BINARY_DIR "/cmake_install.cmake");
        if (rules.find("BrickVoyager.desktop") == std::string::npos)
            return;
        prefix = std::make_unique<TempDir>();
        install = std::make_unique<CommandResult>(
            run("cmake --install '" BV_BINARY_DIR "' --prefix '" + prefix->path() + "'"));
    }

    static void TearDownTestSuite()
    {
        install.reset();
        prefix.reset();
    }

    void SetUp() override
    {
        if (!prefix)
            GTEST_SKIP() << "the game is not built here, so there is nothing to install";
        ASSERT_EQ(install->status, 0) << install->output;
    }

    static fs::path root() { return prefix->path(); }

    static std::unique_ptr<TempDir> prefix;
    static std::unique_ptr<CommandResult> install;
};

std::unique_ptr<TempDir> InstallTest::prefix;
std::unique_ptr<CommandResult> InstallTest::install;

bool isPng(const fs::path& file, unsigned int side)
{
    const std::string bytes = readFile(file.string());
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return false;
    auto word = [&](std::size_t at) {
        unsigned int value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return word(16) == side && word(20) == side;
}

// The first cell of every table row in the README's "## heading" section
// (its subsections included), without the Markdown marks.
std::vector<std::string> readmeTableRows(const std::string& heading)
{
    std::istringstream readme(readFile(BV_SOURCE_DIR "/README.md"));
    std::vector<std::string> rows;
    bool inSection = false;
    bool header = true;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("## ", 0) == 0)
            inSection = line == "## " + heading;
        if (!inSection)
            continue;
        if (line.rfind("|", 0) != 0) {
            header = true;
            continue;
        }
        const std::size_t end = line.find('|', 1);
        std::string cell;
        for (const char c : line.substr(1, end - 1))
            if (c != '`')
                cell += c;
        const std::size_t first = cell.find_first_not_of(' ');
        cell = first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1);
        if (!header && cell.find_first_not_of("-:") != std::string::npos)
            rows.push_back(cell);
        if (cell.find_first_not_of("-:") == std::string::npos)
            header = false;
    }
    return rows;
}

} // namespace

// The manual page is written from the README by the build: every option and
// key the README's tables list is on it, and groff sets it without a warning.
TEST(ManualPageTest, CarriesEveryOptionAndKeyOfTheReadmeAndRendersCleanly)
{
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

TEST_F(InstallTest, GameSitsBesideItsResourcesWithALinkInBin)
{
    const fs::path game = root() / "lib/BrickVoyager/BrickVoyager";
    ASSERT_TRUE(fs::is_regular_file(game));
    EXPECT_NE(fs::status(game).permissions() & fs::perms::owner_exec, fs::perms::none);

    const fs::path link = root() / "bin/BrickVoyager";
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::canonical(link), fs::canonical(game));

    const fs::path built = fs::path(BV_BINARY_DIR) / "Contents/Resources";
    for (const char* resource : {"levels.xml", "sounds/music.ogg"}) {
        SCOPED_TRACE(resource);
        if (!fs::exists(built / resource))
            continue; // not made by this build; nothing to compare
        const fs::path installed = root() / "lib/BrickVoyager/Contents/Resources" / resource;
        ASSERT_TRUE(fs::is_regular_file(installed));
        EXPECT_EQ(readFile(installed.string()), readFile((built / resource).string()));
    }
}

TEST_F(InstallTest, DesktopEntryStartsTheLinkAndShowsTheIcon)
{
    const std::string entry = readFile((root() / "share/applications/BrickVoyager.desktop").string());
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const std::string& line : std::vector<std::string>{"Type=Application", "Name=Brick Voyager", "Icon=BrickVoyager", "Categories=Game;ArcadeGame;",
          "Exec=\"" + (root() / "bin/BrickVoyager").string() + "\""}) {
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;
    }
    for (const unsigned int side : {48u, 64u, 128u, 256u}) {
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        EXPECT_TRUE(isPng(root() / "share/icons/hicolor" / size / "apps/BrickVoyager.png", side)) << size;
    }
}

TEST_F(InstallTest, InstalledGameRunsFromAnyWorkingDirectory)
{
    TempDir home;
    const ScopedEnv homeHere("HOME", home.path());
    const ScopedEnv configHere("XDG_CONFIG_HOME", home.path());
    const CommandResult help = run("cd / && '" + (root() / "bin/BrickVoyager").string() + "' --help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_NE(help.output.find("\nUsage:\nBrickVoyager -w [width]"), std::string::npos) << help.output;
}
