#include "EmbedFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

// The fixture holds every byte value; the empty file must give size 0.
TEST(EmbedTest, EmbeddedArraysHoldTheFilesByteForByte)
{
    const std::string file = readFile(BV_TEST_DATA_DIR "/embed-sample.bin");
    ASSERT_EQ(file.size(), 272u) << "fixture changed";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(EmbedFixture::embed_sample_bin), EmbedFixture::embed_sample_bin_size), file);
    EXPECT_EQ(EmbedFixture::empty_bin_size, 0u);
}
