#include <gtest/gtest.h>

#include "CoutCapture.h"
#include "editor/ShareCode.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"

#include <iostream>

namespace {

std::string shippedPath()
{
    return std::string(BV_SOURCE_DIR) + "/resources/levels.xml";
}

// The line a code that is refused must give, and that it gave no plane.
void expectRefused(const std::string& code, const std::string& words)
{
    CoutCapture out;
    const PlaneList list = ShareCode::decode(code);
    EXPECT_EQ(list.size(), 0u) << words;
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), 1u) << words;
    EXPECT_EQ(lines[0].rfind("ShareCode: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(words), std::string::npos) << lines[0];
}

} // namespace

TEST(ShareCodeTest, EveryShippedPlaneTravelsInALinkUnderTwoThousandLetters)
{
    const LevelLoader shipped(shippedPath());
    ASSERT_FALSE(shipped.planes.empty());
    for (std::size_t p = 0; p < shipped.planes.size(); ++p) {
        const std::string code = ShareCode::encode(shipped.planes[p], "proof " + std::to_string(p));
        const std::string link = "https://example.org/brickvoyager/#plane=" + code;
        EXPECT_LT(link.size(), 2000u) << "plane " << p;
        EXPECT_EQ(code.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
                  std::string::npos);
        std::cout << "plane " << p + 1 << ": " << code.size() << " letters" << std::endl;
        const PlaneList back = ShareCode::decode(code);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back.notes[0], "proof " + std::to_string(p));
        // The same text as the plane's own, so every value came back.
        EXPECT_EQ(LevelWriter::write(back.planes), LevelWriter::write({shipped.planes[p]}));
    }
}

TEST(ShareCodeTest, PackedTextsOfEveryShapeUnpackAsTheyWere)
{
    std::string noise;
    for (unsigned i = 0, x = 12345; i < 20000; ++i, x = x * 1103515245u + 12345u)
        noise += static_cast<char>(x >> 23);
    const std::string texts[] = {"", "a", "aaaa", std::string(70000, 'z'), noise,
                                 noise.substr(0, 5000) + noise.substr(0, 5000)};
    for (const std::string& text : texts) {
        std::string back, problem;
        EXPECT_TRUE(ShareCode::unpack(ShareCode::pack(text), back, problem)) << problem;
        EXPECT_EQ(back, text);
    }
}

TEST(ShareCodeTest, DamagedTooLargeOrForeignCodesGiveOneLineAndNoPlane)
{
    const LevelLoader shipped(shippedPath());
    const std::string code = ShareCode::encode(shipped.planes[3]);
    std::string flipped = code;
    flipped[flipped.size() / 2] = flipped[flipped.size() / 2] == 'A' ? 'B' : 'A';
    // A few bytes that claim far more than a plane and would unpack to it.
    std::string bomb = ShareCode::pack(std::string(ShareCode::maxTextBytes + 1, ' '));
    const struct {
        std::string code;
        const char* words;
    } cases[] = {
        {flipped, "damaged"},
        {code.substr(0, code.size() - 7), "damaged"},
        {code.substr(0, 5), "damaged"},
        {"", "is empty"},
        {"plane=%3Cxml%3E!", "not made of the letters"},
        {bomb, "more than the 262144"},
        {std::string(400000, 'A'), "too long"},
        {ShareCode::pack("not xml"), "cannot be read as XML"},
        {ShareCode::pack("<BrickVoyager/>"), "holds 0 planes"},
        {ShareCode::pack(LevelWriter::write({shipped.planes[0], shipped.planes[1]})), "holds 2 planes"},
        {"_" + code.substr(1), "not a plane's code"},
    };
    for (const auto& c : cases)
        expectRefused(c.code, c.words);
}
