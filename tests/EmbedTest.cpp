#include "EmbedFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(EmbedTest, EmbeddedArrayHoldsTheFileByteForByte)
{
    const std::string file = readFile(BV_TEST_DATA_DIR "/embed-sample.bin");
    ASSERT_EQ(file.size(), 272u) << "fixture changed";
    ASSERT_EQ(EmbedFixture::embed_sample_bin_size, file.size());
    const std::string embedded(reinterpret_cast<const char*>(EmbedFixture::embed_sample_bin),
                               EmbedFixture::embed_sample_bin_size);
    EXPECT_EQ(embedded, file);
}

TEST(EmbedTest, EmptyFileHasSizeZero)
{
    EXPECT_EQ(EmbedFixture::empty_bin_size, 0u);
}
