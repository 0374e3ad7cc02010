#include "platform/windows/PadNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Names Windows gives the pads players hold most, grouped by the pads that
// share one layout (an Xbox pad's name may say "Wireless Controller" too).
TEST(PadNamesTest, NamesOfOnePadFamilyShareItsLayoutAndUnknownNamesStayRaw)
{
    const std::vector<std::vector<const char*>> families = {
        {"Controller (XBOX 360 For Windows)", "Controller (Xbox One For Windows)",
         "Controller (Xbox 360 Wireless Receiver for Windows)", "Xbox Wireless Controller"},
        {"Wireless Controller", "DualSense Wireless Controller"},
        {"Pro Controller"},
        {"8BitDo Pro 2", "8BitDo SN30 Pro", "8BITDO M30 GAMEPAD"},
    };
    for (const auto& family : families) {
        const PadLayout first = PadNames::layoutOf(family[0]);
        EXPECT_TRUE(first.standard) << family[0];
        EXPECT_NE(first.a, first.start) << family[0];
        EXPECT_EQ(first.up, -1) << family[0] << ": these pads give their D-pad as a hat";
        for (const char* name : family)
            EXPECT_TRUE(PadNames::layoutOf(name) == first) << name;
    }
    EXPECT_FALSE(PadNames::layoutOf("Xbox Wireless Controller") == PadNames::layoutOf("Wireless Controller"));
    for (const char* unknown : {"Microsoft PC-joystick driver", "Logitech Dual Action", ""})
        EXPECT_TRUE(PadNames::layoutOf(unknown) == PadLayout()) << unknown;
}

} // namespace
