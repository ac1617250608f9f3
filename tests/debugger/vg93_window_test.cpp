#include <gtest/gtest.h>

#include "debugger/vg93_window.h"

namespace vespin {
namespace {

TEST(Vg93Window, NumberForms) {
    EXPECT_EQ(NumberForms(0x41), "#41=65=%01000001='A'");
    EXPECT_EQ(NumberForms(0x1F), "#1F=31=%00011111");
    EXPECT_EQ(NumberForms(0x20), "#20=32=%00100000=' '");
}

TEST(Vg93Window, DecodedCommands) {
    struct Case {
        uint8_t command;
        const char* text;
    } cases[] = {
        {0x18, "Seek\nwith Head Loading\nStep Rate = 6ms"},
        {0x00, "Restore\nStep Rate = 6ms"},
        {0x5F, "Step-in\nwith Track Register Update\nwith Head Loading\nwith Track "
               "Verification\nStep Rate = 30ms"},
        {0x32, "Step\nwith Track Register Update\nStep Rate = 20ms"},
        {0x71, "Step-out\nwith Track Register Update\nStep Rate = 12ms"},
        {0x80, "Read Sector\nSingle Record"},
        {0xB7, "Write Sector\nMultiple Records\nCompare for Side\nwith Deleted DAM\nwith 30ms "
               "Delay"},
        {0xC4, "Read Address\nwith 30ms Delay"},
        {0xE0, "Read Track"},
        {0xF4, "Write Track\nwith 30ms Delay"},
        {0xD0, "Force Interrupt\nImmediately without INTRQ"},
        {0xD8, "Force Interrupt\nImmediately"},
        {0xD4, "Force Interrupt\non Index Pulse"},
        {0xD3, "Force Interrupt\non Not Ready to Ready Transition\nOR on Ready to Not Ready "
               "Transition"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeVg93Command(c.command), c.text) << int(c.command);
}

TEST(Vg93Window, DecodedStatusDependsOnTheCommandType) {
    EXPECT_EQ(DecodeVg93Status(0xFF, 0x18),
              "Drive Not Ready\nWrite Protect\nHead Loaded\nSeek Error\nCRC Error\nHead at Track "
              "0\nIndex Mark Detected\nCommand in Progress");
    EXPECT_EQ(DecodeVg93Status(0x3E, 0x80),
              "Deleted DAM\nRecord Not Found\nCRC Error\nData Lost\nData Request");
    EXPECT_EQ(DecodeVg93Status(0, 0x80), "");
}

TEST(Vg93Window, DecodedSystemRegisterAndRequests) {
    EXPECT_EQ(DecodeBetaSystem(0x3C), "Drive A, Side 1, Double Density (MFM)");
    EXPECT_EQ(DecodeBetaSystem(0x43), "VG93 Reset\nVG93 HLT Blocked\nDrive D, Side 0, Single "
                                      "Density (FM)");
    EXPECT_EQ(DecodeBetaRequests(0x3F), "No Requests");
    EXPECT_EQ(DecodeBetaRequests(0x7F), "VG93 Data Request");
    EXPECT_EQ(DecodeBetaRequests(0xFF), "VG93 Data Request\nVG93 Interrupt Request");
}

TEST(Vg93Window, RefreshShowsRegistersWithoutTouchingTheController) {
    Beta128 beta;
    TVG93F window;
    EXPECT_EQ(window.Value(Vg93Field::DR).value, "00");
    beta.vg93.system = 0x3C;
    beta.vg93.command = 0x18;
    beta.vg93.data = 0x41;
    beta.vg93.head = 12;
    beta.vg93.intrq = true;
    beta.vg93.immediateInterrupt = false;
    window.Refresh(beta);
    EXPECT_TRUE(beta.vg93.intrq); // the status was peeked, not read
    EXPECT_EQ(window.Value(Vg93Field::CR).hint, "Seek\nwith Head Loading\nStep Rate = 6ms");
    EXPECT_EQ(window.Value(Vg93Field::STR).value, "80");
    EXPECT_EQ(window.Value(Vg93Field::STR).hint, "Drive Not Ready");
    EXPECT_EQ(window.Value(Vg93Field::DR).hint, "#41=65=%01000001='A'");
    EXPECT_EQ(window.Value(Vg93Field::SWR).value, "3C");
    EXPECT_EQ(window.Value(Vg93Field::SRD).value, "BF");
    EXPECT_EQ(window.Value(Vg93Field::HeadTrack).value, "0C");
    EXPECT_EQ(kVg93Fields[static_cast<size_t>(Vg93Field::HeadTrack)].captionHint, "Head on Track");
}

} // namespace
} // namespace vespin
