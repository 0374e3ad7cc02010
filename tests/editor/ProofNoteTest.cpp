#include "editor/ProofNote.h"

#include <gtest/gtest.h>

// A note is believed only for the text it was made of and only in its own
// words; anything else reads as no proof.
TEST(ProofNoteTest, BelievedOnlyForItsOwnPlane)
{
    const std::string plane = "<Plane><Screen/></Plane>", other = "<Plane><Screen /></Plane>";
    EXPECT_EQ(ProofNote::read(ProofNote::make(plane, 812), plane), 812);
    EXPECT_EQ(ProofNote::read(ProofNote::make(plane, 0), plane), 0);
    EXPECT_EQ(ProofNote::read(ProofNote::make(plane, ProofNote::noRoute), plane), ProofNote::noRoute);
    EXPECT_EQ(ProofNote::read(ProofNote::make(plane, 812), other), ProofNote::unknown);
    const std::string hash = ProofNote::hashOf(plane);
    for (const std::string& note : {std::string(""), "proven " + hash, "proven " + hash + " route",
                                    "proven " + hash + " route -3", "proven " + hash + " route 12 more",
                                    "proven " + hash + " none 4", "made " + hash + " route 12"})
        EXPECT_EQ(ProofNote::read(note, plane), ProofNote::unknown) << note;
}
