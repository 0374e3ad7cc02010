// The game started as cmd starts it, its words in letters beyond ASCII and
// its output into a pipe: the words arrive whole as UTF-8, and the lines of a
// windowed exe reach the pipe it was handed rather than a console of its own.
#include "platform/CommandLine.h"

#include "platform/KnownFolders.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(CommandLineTest, WordsInAnyLettersReachTheGameAsUtf8AndItsLinesReachThePipe)
{
    const FilePath game = KnownFolders::program().getChild("BrickVoyager.exe");
    ASSERT_TRUE(game.isFile()) << game.path;
    CommandResult help = runCommand("\"\"" + game.path + "\" --help \"Spiele für alle 日本\" Zoë\"");
    EXPECT_EQ(help.status, 0) << help.output;
    // Text written by a Windows program ends its lines with CR LF.
    help.output.erase(std::remove(help.output.begin(), help.output.end(), '\r'), help.output.end());
    EXPECT_NE(help.output.find("Command line:\n--help\nSpiele für alle 日本\nZoë\n"), std::string::npos) << help.output;
    EXPECT_NE(help.output.find("Usage:"), std::string::npos) << help.output;
    // The process's own words are its command line's, argv or not.
    EXPECT_NE(CommandLine::words(0, nullptr).front().find("BrickVoyagerTests"), std::string::npos);
}
