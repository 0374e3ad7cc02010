#include "platform/windows/PadNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Names Windows gives the pads players hold most, grouped by the pads that
// share one layout; every group's layout differs from the others'.
TEST(PadNamesTest, NamesOfOnePadFamilyShareItsLayoutAndUnknownNamesStayRaw)
{
    const std::vector<std::vector<const char*>> families = {
        {"Controller (XBOX 360 For Windows)", "Controller (Xbox One For Windows)",
         "Controller (Xbox 360 Wireless Receiver for Windows)", "Xbox Wireless Controller"},
        {"Wireless Controller", "DualSense Wireless Controller"},
        {"Pro Controller"},
        {"8BitDo Pro 2", "8BitDo SN30 Pro", "8BITDO M30 GAMEPAD"},
    };
    std::vector<PadLayout> seen;
    for (const auto& family : families) {
        const PadLayout first = PadNames::layoutOf(family[0]);
        EXPECT_TRUE(first.standard) << family[0];
        EXPECT_NE(first.a, first.start) << family[0];
        EXPECT_EQ(first.up, -1) << family[0] << ": these pads give their D-pad as a hat";
        for (const char* name : family)
            EXPECT_TRUE(PadNames::layoutOf(name) == first) << name;
        for (const PadLayout& other : seen)
            EXPECT_FALSE(other == first) << family[0];
        seen.push_back(first);
    }
    for (const char* unknown : {"Microsoft PC-joystick driver", "Logitech Dual Action", ""})
        EXPECT_TRUE(PadNames::layoutOf(unknown) == PadLayout()) << unknown;
}

} // namespace
