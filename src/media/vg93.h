// The VG93 floppy-disk controller (a WD1793 equivalent) as a time-driven state machine.
//
// The controller keeps its own T-state time and catches up with the processor's frame clock
// whenever a port touches it and at every frame end. While idle only the disk rotation
// advances, arithmetically; a running command is a chain of sub-states, each run when its
// delay has passed. Timing follows the drive: one byte passes the head every 112 T-states,
// a revolution is 6250 bytes, the index pulse covers the first 110 bytes.
//
// Not modelled: the Not Ready/Ready and index-pulse interrupt conditions of Force Interrupt
// (they end the command like an immediate interrupt), and separate drives: every drive number
// reaches the one disk surface.
#pragma once

#include <array>
#include <cstdint>

#include "media/disk_surface.h"

namespace vespin {

namespace vg93 {
constexpr int32_t kByteTime = 112;        // T-states per byte under the head
constexpr int32_t kIndexBytes = 110;      // the index signal is active for these first bytes
constexpr int32_t kSettleTime = 107520;   // head settling (E flag, Type I verify)
constexpr int32_t kCommandStart = 42;     // from the command write to busy
constexpr int32_t kShiftBitTime = 14;     // one bit of a serial track-register update
constexpr int32_t kIdleRevolutions = 15;  // the motor turns off after more idle revolutions
constexpr int32_t kSearchRevolutions = 5; // an ID field search gives up after these

// Step rates r1r0: 6, 12, 20 and 30 ms less the 1050 T-states the track update takes.
constexpr std::array<int32_t, 4> kStepTime = {19950, 40950, 68950, 103950};

namespace status {
constexpr uint8_t NotReady = 0x80;
constexpr uint8_t WriteProtect = 0x40;
constexpr uint8_t HeadLoaded = 0x20;  // Type I
constexpr uint8_t DeletedData = 0x20; // Type II/III
constexpr uint8_t SeekError = 0x10;   // Type I
constexpr uint8_t NotFound = 0x10;    // Type II/III
constexpr uint8_t CrcError = 0x08;
constexpr uint8_t Track0 = 0x04;   // Type I
constexpr uint8_t LostData = 0x04; // Type II/III
constexpr uint8_t Index = 0x02;    // Type I
constexpr uint8_t Drq = 0x02;      // Type II/III
constexpr uint8_t Busy = 0x01;
} // namespace status

namespace system_bits {
constexpr uint8_t DriveMask = 0x03;
constexpr uint8_t NotReset = 0x04; // the controller is held in reset while this is 0
constexpr uint8_t HeadLoad = 0x08;
constexpr uint8_t Side0 = 0x10; // 1 selects side 0
constexpr uint8_t SingleDensity = 0x40;
} // namespace system_bits
} // namespace vg93

enum class Vg93Phase : uint8_t { Idle, TypeI, TypeII, TypeIII, Shift };

// Sub-states of the command phases.
enum class Vg93Step : uint8_t {
    None,
    Begin,
    // Type I
    RestoreShift,
    RestoreSeek,
    SeekShift,
    SeekCompare,
    StepOnce,
    TypeIEnd,
    Verify,
    // serial track-register update
    ShiftBit,
    // Type II and III
    ClearStatus,
    MotorCheck,
    SpunUp,
    SearchId,
    IdPassed,
    DataMark,
    ReadByte,
    ReadCrc,
    SectorDone,
    WriteDrq,
    WriteCheck,
    WriteField,
    AddressByte,
    TrackIndex,
    TrackByte,
    WriteTrackCheck,
    WriteTrackIndex,
    WriteTrackByte,
};

enum class Vg93Shift : uint8_t { Load, Increment, Decrement };

struct Vg93 {
    uint8_t command = 0;
    uint8_t status = 0;
    uint8_t track = 0;
    uint8_t sector = 1;
    uint8_t data = 0;
    bool intrq = false;
    bool drq = false;
    uint8_t system = 0; // last value written to port 0xFF: starts with the controller in reset
    uint8_t drive = 0;
    uint8_t side = 1;
    bool immediateInterrupt = false; // Force Interrupt 0xD8: INTRQ survives status reads
    bool typeIStatus = true;         // status bits 1, 2, 5, 6 show the drive, not the transfer

    bool motor = false; // head loaded and drive ready
    int32_t revolutions = 0;
    int32_t position = 0;  // byte under the head, 0-6249
    int32_t byteClock = 0; // T-states into the current byte time, 0-111
    uint8_t head = 0;      // cylinder under the head, 0-85
    bool stepIn = true;

    Vg93Phase phase = Vg93Phase::Idle;
    Vg93Step step = Vg93Step::None;
    int32_t delay = 0; // T-states until the sub-state runs
    int32_t time = 0;  // controller time on the processor's frame clock

    // Per command.
    int32_t sectorLength = 0;
    int32_t counter = 0;
    uint16_t crc = 0;
    bool crcLowPending = false;
    std::array<uint8_t, 6> idField{}; // track, side, sector, size, CRC high, CRC low

    // Serial track-register update.
    Vg93Shift shiftKind = Vg93Shift::Load;
    uint8_t shiftValue = 0;
    uint8_t shiftOld = 0;
    uint8_t shiftBits = 0;
    uint8_t shiftPass = 0;
    bool shiftDone = false;
    Vg93Step shiftResume = Vg93Step::None;

    bool InReset() const { return (system & vg93::system_bits::NotReset) == 0; }
    bool Running() const { return phase != Vg93Phase::Idle; }
    bool SingleDensity() const { return (system & vg93::system_bits::SingleDensity) != 0; }
};

// Brings the controller to the processor's frame T-state `now`.
void Vg93CatchUp(Vg93& c, DiskSurface& disk, int32_t now, int32_t frameLength);
// At frame end: catch up, then move the controller's time back by one frame.
void Vg93EndFrame(Vg93& c, DiskSurface& disk, int32_t now, int32_t frameLength);

// Register accesses; the caller has caught the controller up.
void Vg93WriteCommand(Vg93& c, uint8_t value);
void Vg93WriteTrack(Vg93& c, uint8_t value);
void Vg93WriteSector(Vg93& c, uint8_t value);
void Vg93WriteData(Vg93& c, uint8_t value);
// Clears INTRQ unless an immediate interrupt holds it.
uint8_t Vg93ReadStatus(Vg93& c, bool writeProtected);
uint8_t Vg93ReadData(Vg93& c); // clears DRQ
void Vg93WriteSystem(Vg93& c, uint8_t value);

// Side-effect-free reads for the state window.
uint8_t Vg93PeekStatus(const Vg93& c, bool writeProtected);
uint8_t Vg93PeekSystem(const Vg93& c); // INTRQ in bit 7, DRQ in bit 6, bits 0-5 set

} // namespace vespin
