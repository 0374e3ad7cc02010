#include "platform/PadMappings.h"

#include "CoutCapture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string guid = "030000004c050000cc09000011010000";

TEST(PadMappingsTest, EachBadLineIsToldOnceWithItsNumberAndPassedOverTheRestKept)
{
    const struct {
        const char* line;
        const char* told;  // what the message says after "line N "
    } bad[] = {
        {"03000000,Short GUID,a:b0,platform:Linux,", "does not start with a GUID"},
        {"030000004c050000cc09000011010000,Pad,jump:b0,platform:Linux,", "\"jump:b0\", which is no field"},
        {"030000004c050000cc09000011010000,Pad,dpup:h0.3,platform:Linux,", "\"dpup:h0.3\", where a button"},
        {"030000004c050000cc09000011010000,Pad,a:b0", "names no platform"},
    };
    const TempDir dir;
    std::string text = "# a comment, then a blank line\n\n" + guid + ",Good pad,a:b1,start:b9,platform:Linux,\r\n";
    for (const auto& entry : bad)
        text += std::string(entry.line) + "\n";
    text += guid + ",Other pad,a:b0,platform:Windows,\n";
    const std::string path = dir.write("gamecontrollerdb.txt", text);

    CoutCapture out;
    const std::vector<PadMappings::Entry> kept = PadMappings::read(FilePath(path), "Linux");
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), std::size(bad)) << out.text();
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        const std::string start = "Gamepad: " + path + " line " + std::to_string(i + 4) + " ";
        EXPECT_EQ(lines[i].rfind(start, 0), 0u) << lines[i];
        EXPECT_NE(lines[i].find(bad[i].told), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find("passed over"), std::string::npos) << lines[i];
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].name, "Good pad");
    EXPECT_EQ(PadMappings::named(kept, "GOOD PAD"), &kept[0]);
    EXPECT_EQ(PadMappings::named(kept, "Other pad"), nullptr);
}

TEST(PadMappingsTest, LineGivesWhereTheGamesControlsAreAndTheDpadAsButtonsOnlyWhereItIsSo)
{
    const struct {
        const char* fields;
        PadLayout expected;
    } cases[] = {
        {"a:b1,b:b2,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,+leftx:a0,start:b9,", PadLayout::described(1, 9)},
        {"a:b0,dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,start:b6,lefty:a4,", [] {
             PadLayout layout = PadLayout::described(0, 6, 11, 12, 13, 14);
             layout.stickY = 4;
             return layout;
         }()},
    };
    for (const auto& c : cases) {
        PadMappings::Entry entry;
        std::string problem;
        ASSERT_TRUE(PadMappings::parse(guid + ",Pad," + c.fields + "platform:Linux,", entry, problem)) << problem;
        EXPECT_TRUE(entry.layout == c.expected) << c.fields;
    }
}

TEST(PadMappingsTest, FileTooLargeIsToldOnceAndGivesNoLayouts)
{
    const TempDir dir;
    const std::string path = dir.write("large.txt", std::string(PadMappings::maxBytes + 1, '#'));
    CoutCapture out;
    EXPECT_TRUE(PadMappings::read(FilePath(path), "Linux").empty());
    ASSERT_EQ(out.lines().size(), 1u) << out.text();
    EXPECT_EQ(out.lines()[0].rfind("Gamepad: " + path + " ", 0), 0u) << out.text();
}

} // namespace
