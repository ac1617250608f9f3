#include <gtest/gtest.h>

#include <set>

#include "vg93_fixture.h"

namespace vespin::test {
namespace {

using R = Vg93Register;

class Vg93Test : public ::testing::Test {
  protected:
    Vg93Test() {
        FormatTracks(image, fdc.beta.disk);
        fdc.Seek(0); // loads the head: Type II and III commands need the motor running
    }
    TrdosImage image = PatternedImage();
    Vg93Bench fdc;
};

TEST_F(Vg93Test, RestoreWithoutHeadLoadCountsDownAllTheWayFrom0xFF) {
    fdc.Seek(7);       // head at cylinder 7
    fdc.Command(0x00); // Restore, h clear: the motor stops, so neither head nor sensor moves
    std::vector<uint8_t> seen;
    while (!(fdc.Requests() & 0x80)) {
        const uint8_t track = fdc.Track();
        if (seen.empty() || seen.back() != track) seen.push_back(track);
        fdc.Run(14);
        ASSERT_LT(fdc.elapsed, 100'000'000);
    }
    EXPECT_EQ(fdc.Track(), 0);
    EXPECT_EQ(fdc.beta.vg93.head, 7);
    // Every settled value from 0xFE down to 0 passes through the register: 255 steps.
    std::set<uint8_t> values(seen.begin(), seen.end());
    EXPECT_EQ(values.count(0xFF), 1u);
    EXPECT_EQ(values.size(), 256u);
    EXPECT_EQ(fdc.Status() & 0x80, 0x80); // not ready: the motor is off
}

TEST_F(Vg93Test, RestoreWithHeadLoadStopsAtTheTrack0Sensor) {
    fdc.Seek(5);
    ASSERT_EQ(fdc.beta.vg93.head, 5);
    fdc.Command(0x08);
    const int64_t took = fdc.WaitIntrq();
    EXPECT_EQ(fdc.beta.vg93.head, 0);
    EXPECT_EQ(fdc.Track(), 0);
    // Five steps out and the sixth finds the sensor: five step times at the 6 ms rate.
    EXPECT_GT(took, 5 * 19950);
    EXPECT_LT(took, 6 * 19950);
    EXPECT_EQ(fdc.Status() & 0x25, 0x24); // head loaded, track 0, not busy
}

TEST_F(Vg93Test, SeekToTheCurrentTrackEndsAfterOneComparison) {
    fdc.Seek(3);
    fdc.Out(R::Data, 3);
    fdc.Command(0x18);
    const int64_t took = fdc.WaitIntrq(20000, 1);
    EXPECT_LE(took, 42 + 9 * 14 + 1); // start, one pass of the track register, compare
    EXPECT_EQ(fdc.beta.vg93.head, 3);
    EXPECT_EQ(fdc.Track(), 3);
}

TEST_F(Vg93Test, StepInWithUpdateShowsTheSerialShiftOfTheTrackRegister) {
    fdc.Seek(1);
    fdc.Command(0x58); // Step-in, u, h
    std::vector<uint8_t> seen;
    while (!(fdc.Requests() & 0x80)) {
        const uint8_t track = fdc.Track();
        if (seen.empty() || seen.back() != track) seen.push_back(track);
        fdc.Run(7);
    }
    EXPECT_EQ(seen.front(), 0x01);
    EXPECT_EQ(seen.back(), 0x02);
    // The first pass shifts 0x00 (bit 0 flipped, no carry out yet) in behind 0x01.
    const std::vector<uint8_t> firstPass = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x00};
    ASSERT_GE(seen.size(), firstPass.size());
    EXPECT_EQ(std::vector<uint8_t>(seen.begin(), seen.begin() + 9), firstPass);
    EXPECT_EQ(fdc.beta.vg93.head, 2);
}

TEST_F(Vg93Test, ReadSectorReadsTheSectorAndItsNeighboursWithMultipleRecords) {
    fdc.Seek(2);
    fdc.System(0x3C & ~0x10); // side 1
    fdc.Out(R::Sector, 1);
    fdc.Command(0x90); // Read Sector, m
    const int64_t start = fdc.elapsed;
    const auto bytes = fdc.Serve();
    ASSERT_EQ(bytes.size(), 16u * 256);
    for (int s = 1; s <= 16; ++s) {
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + (s - 1) * 256, bytes.begin() + s * 256),
                  ImageSector(image, 5, s))
            << "sector " << s;
    }
    // Sector 17 does not exist: record not found after five revolutions of searching.
    EXPECT_EQ(fdc.Status() & 0x1F, 0x10);
    EXPECT_EQ(fdc.In(R::Sector), 17);
    EXPECT_GT(fdc.elapsed - start, 5 * Vg93Bench::kRevolution);
}

TEST_F(Vg93Test, ReadSectorComparesSideOnlyWhenAsked) {
    // TR-DOS writes side 0 into the IDs of both sides.
    fdc.Out(R::Sector, 4);
    fdc.Command(0x82); // C set, S = 0
    EXPECT_EQ(fdc.Serve().size(), 256u);
    fdc.Command(0x8A); // C set, S = 1: no such ID
    fdc.Serve();
    EXPECT_EQ(fdc.Status() & 0x10, 0x10);
}

TEST_F(Vg93Test, UnservedBytesAreLostButReadingGoesOn) {
    fdc.Out(R::Sector, 2);
    fdc.Command(0x80);
    fdc.WaitIntrq();
    EXPECT_EQ(fdc.Status() & 0x1C, 0x04); // lost data, CRC fine, found
    EXPECT_EQ(fdc.In(R::Data), ImageSector(image, 0, 2).back());
}

TEST_F(Vg93Test, DataCrcErrorEndsTheRead) {
    // Corrupt one data byte of sector 1 on cylinder 0 (the first sector of the track).
    DiskTrack& track = fdc.beta.disk.Track(0, 0);
    track.data[100] ^= 0xFF;
    fdc.Out(R::Sector, 1);
    fdc.Command(0x80);
    fdc.Serve();
    EXPECT_EQ(fdc.Status() & 0x18, 0x08);
}

TEST_F(Vg93Test, TypeIIWithTheMotorOffEndsAtOnceShowingNotReady) {
    fdc.Seek(0);
    fdc.Run(17 * Vg93Bench::kRevolution); // 16 idle revolutions turn the motor off
    ASSERT_EQ(fdc.Status() & 0x80, 0x80);
    fdc.Out(R::Sector, 1);
    fdc.Command(0x80);
    EXPECT_LT(fdc.WaitIntrq(), 200);
    EXPECT_EQ(fdc.Status(), 0x80);
}

struct ForceCase {
    uint8_t command;
    bool intrq;
    bool intrqAfterStatusRead;
};

TEST_F(Vg93Test, ForceInterruptWhileIdle) {
    for (const ForceCase c : {ForceCase{0xD0, false, false}, ForceCase{0xD8, true, true},
                              ForceCase{0xD4, true, false}}) {
        fdc.Out(R::Sector, 1);
        fdc.Command(0x80);
        fdc.Run(1000); // DRQ and INTRQ still clear: a command is starting
        fdc.Command(c.command);
        EXPECT_EQ((fdc.Requests() & 0x80) != 0, c.intrq) << std::hex << int(c.command);
        EXPECT_EQ(fdc.Status() & 0x01, 0);
        EXPECT_EQ((fdc.Requests() & 0x80) != 0, c.intrqAfterStatusRead);
        EXPECT_EQ(fdc.Requests() & 0x40, 0);
    }
    // The next command clears the held interrupt.
    fdc.Command(0xD8);
    fdc.Out(R::Data, 0);
    fdc.Command(0x18);
    EXPECT_EQ(fdc.Requests() & 0x80, 0);
}

TEST_F(Vg93Test, CommandsAreIgnoredWhileBusyAndInReset) {
    fdc.Out(R::Data, 40);
    fdc.Command(0x1B); // a long seek
    fdc.Run(500);
    fdc.Command(0x80);
    EXPECT_EQ(fdc.beta.vg93.command, 0x1B);
    fdc.Command(0xD0);
    fdc.System(0x38); // reset
    EXPECT_EQ(fdc.Status(), 0x83);
    fdc.Command(0x80);
    fdc.Out(R::Sector, 9);
    EXPECT_EQ(fdc.beta.vg93.command, 0xD0);
    EXPECT_EQ(fdc.In(R::Sector), 1); // entering reset sets it to 1
}

TEST_F(Vg93Test, WriteProtectedDiskRefusesWrites) {
    fdc.beta.disk.writeProtected = true;
    for (uint8_t command : {uint8_t{0xA0}, uint8_t{0xF0}}) {
        fdc.Out(R::Sector, 1);
        fdc.Command(command);
        fdc.WaitIntrq();
        EXPECT_EQ(fdc.Status() & 0x41, 0x40) << std::hex << int(command);
    }
    EXPECT_EQ(fdc.beta.disk.Track(0, 0).data, [&] {
        DiskSurface fresh;
        FormatTracks(image, fresh);
        return fresh.Track(0, 0).data;
    }());
}

TEST_F(Vg93Test, WrittenSectorReadsBack) {
    fdc.Seek(1);
    std::vector<uint8_t> data(256);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(255 - i);
    fdc.Out(R::Sector, 9);
    fdc.Command(0xA0);
    fdc.Serve(data);
    EXPECT_EQ(fdc.Status() & 0x7D, 0);
    fdc.Out(R::Sector, 9);
    fdc.Command(0x80);
    EXPECT_EQ(fdc.Serve(), data);
    EXPECT_EQ(fdc.Status() & 0x7D, 0);
    // The neighbours survived the write.
    fdc.Out(R::Sector, 2);
    fdc.Command(0x80);
    EXPECT_EQ(fdc.Serve(), ImageSector(image, 2, 2));
}

TEST_F(Vg93Test, WriteSectorNotServedInTimeEndsWithLostData) {
    fdc.Out(R::Sector, 1);
    fdc.Command(0xA0);
    fdc.WaitIntrq();
    EXPECT_EQ(fdc.Status() & 0x04, 0x04);
    fdc.Command(0x80);
    EXPECT_EQ(fdc.Serve(), ImageSector(image, 0, 1));
}

TEST_F(Vg93Test, WriteTrackMakesAnIdFieldThatReadAddressAccepts) {
    fdc.Seek(4);
    std::vector<uint8_t> stream(40, 0x4E);
    for (uint8_t b : {0xF5, 0xF5, 0xF5, 0xFE, 0x2A, 0x01, 0x07, 0x01, 0xF7})
        stream.push_back(b);
    stream.resize(7000, 0x4E);
    fdc.Command(0xF0);
    fdc.Serve(stream);
    EXPECT_EQ(fdc.Status() & 0x45, 0);

    fdc.Command(0xC0);
    const auto id = fdc.Serve();
    ASSERT_EQ(id.size(), 6u);
    EXPECT_EQ(std::vector<uint8_t>(id.begin(), id.begin() + 4),
              (std::vector<uint8_t>{0x2A, 0x01, 0x07, 0x01}));
    EXPECT_EQ(fdc.Status() & 0x18, 0);  // no CRC error, found
    EXPECT_EQ(fdc.In(R::Sector), 0x2A); // Read Address puts the track into the sector register
    const DiskTrack& t = fdc.beta.disk.Track(4, 0);
    EXPECT_TRUE(t.IsMarked(40));
    EXPECT_EQ(t.data[40], 0xA1);
}

TEST_F(Vg93Test, ReadTrackPassesOneRevolutionFromTheIndex) {
    fdc.Command(0xE0);
    const auto bytes = fdc.Serve({}, 30);
    ASSERT_EQ(bytes.size(), 6249u);
    const DiskTrack& t = fdc.beta.disk.Track(0, 0);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), t.data.begin() + 1));
}

TEST_F(Vg93Test, TypeIStatusShowsTheDrive) {
    fdc.Seek(0);
    uint8_t seenOr = 0, seenAnd = 0xFF;
    for (int i = 0; i < 6250; ++i) {
        const uint8_t s = PeekVg93Status(fdc.beta);
        seenOr |= s;
        seenAnd &= s;
        fdc.Run(112);
    }
    EXPECT_EQ(seenAnd & 0xE5, 0x24); // ready, head loaded, track 0, idle
    EXPECT_EQ(seenOr & 0x02, 0x02);  // the index pulse comes round
    EXPECT_EQ(seenAnd & 0x02, 0);
    fdc.System(0x34); // head load blocked
    EXPECT_EQ(PeekVg93Status(fdc.beta) & 0x20, 0);
    fdc.beta.disk.writeProtected = true;
    EXPECT_EQ(PeekVg93Status(fdc.beta) & 0x40, 0x40);
}

TEST_F(Vg93Test, PeekingTheStatusLeavesInterruptPending) {
    fdc.Seek(1);
    ASSERT_EQ(fdc.Requests() & 0x80, 0x80);
    PeekVg93Status(fdc.beta);
    EXPECT_EQ(fdc.Requests() & 0x80, 0x80);
    fdc.Status();
    EXPECT_EQ(fdc.Requests() & 0x80, 0);
}

TEST_F(Vg93Test, VerifyFindsTheTrackOrReportsSeekError) {
    fdc.Out(R::Data, 6);
    fdc.Command(0x1C); // Seek with verify
    fdc.WaitIntrq();
    EXPECT_EQ(fdc.Status() & 0x18, 0);
    fdc.Out(R::Track, 9); // the register disagrees with the head
    fdc.Out(R::Data, 9);
    fdc.Command(0x1C);
    fdc.WaitIntrq();
    EXPECT_EQ(fdc.Status() & 0x18, 0x10);
}

TEST(Vg93Timing, LeavingResetStartsASlowRestore) {
    Vg93Bench fdc;
    fdc.System(0x38); // back into reset
    fdc.Out(R::Track, 5);
    fdc.System(0x3C);
    EXPECT_EQ(fdc.beta.vg93.command, 0x03);
    EXPECT_EQ(fdc.Track(), 0);
    fdc.Run(200);
    EXPECT_EQ(fdc.Status() & 0x01, 0x01);
}

TEST(Vg93Timing, IdleControllerKeepsTimeAcrossFrames) {
    Vg93Bench fdc;
    fdc.Out(Vg93Register::Data, 0);
    fdc.Command(0x08); // Restore with the motor on; the head is already at 0
    fdc.WaitIntrq();
    const int32_t before = fdc.beta.vg93.position;
    fdc.Run(3 * Vg93Bench::kFrame + 112 * 10);
    fdc.Requests(); // catches up
    // 3 frames are 1920 byte times; the position moves by exactly as many bytes.
    EXPECT_EQ(fdc.beta.vg93.position, (before + 1920 + 10) % 6250);
}

} // namespace
} // namespace vespin::test
