#include "media/vg93.h"

#include <algorithm>

namespace vespin {

using namespace vg93;

namespace {

constexpr int32_t kMaxRevolutions = 1 << 20; // keeps the counter from overflowing

// Command flags.
constexpr uint8_t kTypeIUpdate = 0x10; // u: step commands update the track register
constexpr uint8_t kHeadLoad = 0x08;    // h
constexpr uint8_t kVerify = 0x04;      // V
constexpr uint8_t kMultiple = 0x10;    // m
constexpr uint8_t kSideFlag = 0x08;    // S: the side to compare
constexpr uint8_t kSettle = 0x04;      // E
constexpr uint8_t kCompareSide = 0x02; // C
constexpr uint8_t kDeletedMark = 0x01; // a0

// Where a command leads, by its upper four bits.
constexpr std::array<Vg93Phase, 16> kPhaseOf = {
    Vg93Phase::TypeI,   Vg93Phase::TypeI,  Vg93Phase::TypeI,   Vg93Phase::TypeI,
    Vg93Phase::TypeI,   Vg93Phase::TypeI,  Vg93Phase::TypeI,   Vg93Phase::TypeI,
    Vg93Phase::TypeII,  Vg93Phase::TypeII, Vg93Phase::TypeII,  Vg93Phase::TypeII,
    Vg93Phase::TypeIII, Vg93Phase::Idle,   Vg93Phase::TypeIII, Vg93Phase::TypeIII,
};

int Kind(const Vg93& c) {
    return c.command >> 4;
}
bool IsRestore(const Vg93& c) {
    return Kind(c) == 0;
}
bool IsSeek(const Vg93& c) {
    return Kind(c) == 1;
}
bool IsWriteSector(const Vg93& c) {
    return (c.command & 0xE0) == 0xA0;
}
bool IsReadAddress(const Vg93& c) {
    return Kind(c) == 0xC;
}
bool IsReadTrack(const Vg93& c) {
    return Kind(c) == 0xE;
}
bool IsWriteTrack(const Vg93& c) {
    return Kind(c) == 0xF;
}

int32_t Bytes(int32_t n) {
    return n * kByteTime;
}

int Wrap(int pos) {
    return pos % kTrackBytes;
}

DiskTrack& TrackUnderHead(const Vg93& c, DiskSurface& disk) {
    return disk.Track(c.head, c.side);
}

// An ID address mark: a mark byte followed by 0xFE, the head now at the 0xFE.
bool IdMarkUnderHead(const DiskTrack& t, int pos) {
    return t.data[static_cast<size_t>(pos)] == 0xFE && t.IsMarked(Wrap(pos + kTrackBytes - 1));
}

bool IdCrcMatches(const Vg93& c) {
    uint16_t crc = CrcUpdate(kCrcAfterSync, 0xFE);
    for (int i = 0; i < 4; ++i)
        crc = CrcUpdate(crc, c.idField[static_cast<size_t>(i)]);
    return crc == (c.idField[4] << 8 | c.idField[5]);
}

void Next(Vg93& c, Vg93Step step, int32_t delay) {
    c.step = step;
    c.delay = delay;
}

void Finish(Vg93& c) {
    c.intrq = true;
    c.status &= static_cast<uint8_t>(~status::Busy);
    c.phase = Vg93Phase::Idle;
    c.step = Vg93Step::None;
    c.delay = 0;
}

void FinishWith(Vg93& c, uint8_t bits) {
    c.status |= bits;
    Finish(c);
}

// A byte for the data register: a byte the processor has not taken yet is lost.
void Deliver(Vg93& c, uint8_t value) {
    if (c.drq) c.status |= status::LostData;
    c.data = value;
    c.drq = true;
}

// A byte the processor was asked for: the data register, or 0x00 when it came too late.
uint8_t Collect(Vg93& c) {
    if (c.drq) {
        c.status |= status::LostData;
        return 0x00;
    }
    return c.data;
}

void SpinUp(Vg93& c) {
    c.motor = true;
    c.revolutions = 0;
}

// The disk turns under the head while the motor runs; the byte clock runs always.
void Rotate(Vg93& c, int32_t t) {
    const int32_t total = c.byteClock + t;
    if (total < kByteTime) { // within one byte time: the usual case for a polling loop
        c.byteClock = total;
        return;
    }
    const int32_t bytes = total / kByteTime;
    c.byteClock = total % kByteTime;
    if (!c.motor || bytes == 0) return;
    const int64_t pos = int64_t{c.position} + bytes;
    c.revolutions =
        static_cast<int32_t>(std::min<int64_t>(c.revolutions + pos / kTrackBytes, kMaxRevolutions));
    c.position = static_cast<int32_t>(pos % kTrackBytes);
}

// Serial track-register update: each pass shifts a value into the track register most
// significant bit first. Increment and decrement take eight passes, one per bit from bit 0
// up, flipping bits until the carry or borrow stops; later passes rewrite the value.
void BeginShiftPass(Vg93& c) {
    if (c.shiftKind != Vg93Shift::Load && !c.shiftDone) {
        const auto bit = static_cast<uint8_t>(1u << c.shiftPass);
        c.shiftValue ^= bit;
        const bool nowSet = (c.shiftValue & bit) != 0;
        c.shiftDone = (c.shiftKind == Vg93Shift::Increment) == nowSet;
    }
    c.shiftOld = c.track;
    c.shiftBits = 0;
    Next(c, Vg93Step::ShiftBit, kShiftBitTime);
}

void StartShift(Vg93& c, Vg93Shift kind, uint8_t value, Vg93Step resume) {
    c.phase = Vg93Phase::Shift;
    c.shiftKind = kind;
    c.shiftValue = value;
    c.shiftPass = 0;
    c.shiftDone = false;
    c.shiftResume = resume;
    BeginShiftPass(c);
}

void ShiftBit(Vg93& c) {
    if (c.shiftBits < 8) {
        ++c.shiftBits;
        c.track =
            static_cast<uint8_t>((c.shiftOld << c.shiftBits) | (c.shiftValue >> (8 - c.shiftBits)));
        Next(c, Vg93Step::ShiftBit, kShiftBitTime);
        return;
    }
    ++c.shiftPass;
    if (c.shiftKind == Vg93Shift::Load || c.shiftPass == 8) {
        c.phase = Vg93Phase::TypeI;
        Next(c, c.shiftResume, 0);
    } else {
        BeginShiftPass(c);
    }
}

void StartTrackCount(Vg93& c, Vg93Step resume) {
    StartShift(c, c.stepIn ? Vg93Shift::Increment : Vg93Shift::Decrement, c.track, resume);
}

// ---- Type I ----

void BeginTypeI(Vg93& c) {
    c.status &= static_cast<uint8_t>(~(status::CrcError | status::SeekError));
    if (c.command & kHeadLoad) {
        SpinUp(c);
    } else {
        c.motor = false;
    }
    const int kind = Kind(c);
    if (kind == 4 || kind == 5) c.stepIn = true;
    if (kind == 6 || kind == 7) c.stepIn = false;

    if (IsRestore(c)) {
        Next(c, Vg93Step::RestoreShift, 98);
    } else if (IsSeek(c)) {
        Next(c, Vg93Step::SeekShift, 0);
    } else if (c.command & kTypeIUpdate) {
        StartTrackCount(c, Vg93Step::StepOnce);
    } else {
        Next(c, Vg93Step::StepOnce, 0);
    }
}

void SeekCompare(Vg93& c) {
    const uint8_t target = c.data;
    if (c.track == target) {
        Next(c, Vg93Step::TypeIEnd, 0);
        return;
    }
    c.stepIn = target > c.track;
    StartTrackCount(c, Vg93Step::StepOnce);
}

void StepOnce(Vg93& c) {
    if (c.motor && c.head == 0 && !c.stepIn) { // the track-0 sensor
        c.track = 0;
        Next(c, Vg93Step::TypeIEnd, 0);
        return;
    }
    if (c.motor) {
        if (c.stepIn && c.head < kDiskCylinders - 1) ++c.head;
        if (!c.stepIn && c.head > 0) --c.head;
    }
    const bool stepCommand = !IsRestore(c) && !IsSeek(c);
    Next(c, stepCommand ? Vg93Step::TypeIEnd : Vg93Step::SeekCompare, kStepTime[c.command & 3]);
}

void TypeIEnd(Vg93& c) {
    if (!(c.command & kVerify)) {
        Finish(c);
        return;
    }
    SpinUp(c);
    Next(c, Vg93Step::Verify, kSettleTime);
}

void Verify(Vg93& c, DiskSurface& disk) {
    if (c.revolutions >= kSearchRevolutions) {
        FinishWith(c, status::SeekError);
        return;
    }
    const DiskTrack& t = TrackUnderHead(c, disk);
    if (IdMarkUnderHead(t, c.position) &&
        t.data[static_cast<size_t>(Wrap(c.position + 1))] == c.track) {
        for (int i = 0; i < 6; ++i) {
            c.idField[static_cast<size_t>(i)] =
                t.data[static_cast<size_t>(Wrap(c.position + 1 + i))];
        }
        FinishWith(c, IdCrcMatches(c) ? 0 : status::CrcError);
        return;
    }
    Next(c, Vg93Step::Verify, kByteTime);
}

// ---- Type II and III ----

void MotorCheck(Vg93& c) {
    if (!c.motor) { // not ready: the status shows it in bit 7
        Finish(c);
        return;
    }
    SpinUp(c);
    Next(c, Vg93Step::SpunUp, 252 + ((c.command & kSettle) ? kSettleTime : 0));
}

void SpunUp(Vg93& c, const DiskSurface& disk) {
    const bool writes = IsWriteSector(c) || IsWriteTrack(c);
    if (writes && disk.writeProtected) {
        FinishWith(c, status::WriteProtect);
        return;
    }
    if (IsReadTrack(c)) {
        Next(c, Vg93Step::TrackIndex, 0);
    } else if (IsWriteTrack(c)) {
        c.drq = true;
        Next(c, Vg93Step::WriteTrackCheck, Bytes(3));
    } else {
        Next(c, Vg93Step::SearchId, 0);
    }
}

void SearchId(Vg93& c, DiskSurface& disk) {
    if (c.revolutions >= kSearchRevolutions) {
        FinishWith(c, status::NotFound);
        return;
    }
    const DiskTrack& t = TrackUnderHead(c, disk);
    if (!IdMarkUnderHead(t, c.position)) {
        Next(c, Vg93Step::SearchId, kByteTime);
        return;
    }
    for (int i = 0; i < 6; ++i) {
        c.idField[static_cast<size_t>(i)] = t.data[static_cast<size_t>(Wrap(c.position + 1 + i))];
    }
    if (IsReadAddress(c)) {
        c.counter = 0;
        Next(c, Vg93Step::AddressByte, kByteTime);
        return;
    }
    const bool sideMatches =
        !(c.command & kCompareSide) || c.idField[1] == ((c.command & kSideFlag) ? 1 : 0);
    if (c.idField[0] != c.track || !sideMatches || c.idField[2] != c.sector) {
        Next(c, Vg93Step::SearchId, kByteTime);
        return;
    }
    if (!IdCrcMatches(c)) {
        c.status |= status::CrcError;
        Next(c, Vg93Step::SearchId, kByteTime);
        return;
    }
    c.status &= static_cast<uint8_t>(~status::CrcError);
    c.sectorLength = 128 << (c.idField[3] & 3);
    Next(c, Vg93Step::IdPassed, Bytes(7)); // the head leaves the ID field and its CRC
}

void IdPassed(Vg93& c) {
    const bool fm = c.SingleDensity();
    if (IsWriteSector(c)) {
        Next(c, Vg93Step::WriteDrq, Bytes(fm ? 2 : 4));
    } else {
        c.counter = fm ? 30 : 43;
        Next(c, Vg93Step::DataMark, 0);
    }
}

void DataMark(Vg93& c, DiskSurface& disk) {
    const DiskTrack& t = TrackUnderHead(c, disk);
    const uint8_t mark = t.data[static_cast<size_t>(c.position)];
    if (mark >= 0xF8 && mark <= 0xFB && t.IsMarked(Wrap(c.position + kTrackBytes - 1))) {
        if (mark == 0xF8) {
            c.status |= status::DeletedData;
        } else {
            c.status &= static_cast<uint8_t>(~status::DeletedData);
        }
        c.crc = CrcUpdate(kCrcAfterSync, mark);
        c.counter = c.sectorLength;
        Next(c, Vg93Step::ReadByte, kByteTime);
        return;
    }
    if (--c.counter == 0) {
        FinishWith(c, status::NotFound);
        return;
    }
    Next(c, Vg93Step::DataMark, kByteTime);
}

void ReadByte(Vg93& c, DiskSurface& disk) {
    const uint8_t value = TrackUnderHead(c, disk).data[static_cast<size_t>(c.position)];
    Deliver(c, value);
    c.crc = CrcUpdate(c.crc, value);
    Next(c, --c.counter == 0 ? Vg93Step::ReadCrc : Vg93Step::ReadByte, kByteTime);
}

void ReadCrc(Vg93& c, DiskSurface& disk) {
    const DiskTrack& t = TrackUnderHead(c, disk);
    const uint16_t stored =
        static_cast<uint16_t>(t.data[static_cast<size_t>(c.position)] << 8 |
                              t.data[static_cast<size_t>(Wrap(c.position + 1))]);
    if (stored != c.crc) {
        FinishWith(c, status::CrcError);
        return;
    }
    Next(c, Vg93Step::SectorDone, kByteTime);
}

void SectorDone(Vg93& c) {
    if (c.command & kMultiple) {
        ++c.sector;
        c.revolutions = 0;
        Next(c, Vg93Step::SearchId, 0);
    } else {
        Finish(c);
    }
}

void WriteCheck(Vg93& c) {
    if (c.drq) {
        FinishWith(c, status::LostData);
        return;
    }
    c.counter = 0;
    Next(c, Vg93Step::WriteField, Bytes(c.SingleDensity() ? 1 : 2));
}

// Write Sector lays down the gap, the sync marks, the data mark, the data and its CRC, one
// byte per byte time at the rotating position.
void WriteField(Vg93& c, DiskSurface& disk) {
    const int zeros = c.SingleDensity() ? 6 : 12;
    const int markAt = zeros + 3;
    const int dataEnd = markAt + 1 + c.sectorLength;
    const int i = c.counter;
    uint8_t value = 0x00;
    bool marked = false;
    if (i < zeros) {
        value = 0x00;
    } else if (i < markAt) {
        value = 0xA1;
        marked = true;
    } else if (i == markAt) {
        value = (c.command & kDeletedMark) ? 0xF8 : 0xFB;
        c.crc = CrcUpdate(kCrcAfterSync, value);
    } else if (i < dataEnd) {
        value = Collect(c);
        c.crc = CrcUpdate(c.crc, value);
        if (i + 1 < dataEnd) c.drq = true;
    } else if (i == dataEnd) {
        value = static_cast<uint8_t>(c.crc >> 8);
    } else if (i == dataEnd + 1) {
        value = static_cast<uint8_t>(c.crc);
    } else {
        value = 0xFF;
    }
    TrackUnderHead(c, disk).Put(c.position, value, marked);
    ++c.counter;
    Next(c, i == dataEnd + 2 ? Vg93Step::SectorDone : Vg93Step::WriteField, kByteTime);
}

void AddressByte(Vg93& c) {
    Deliver(c, c.idField[static_cast<size_t>(c.counter)]);
    if (++c.counter < 6) {
        Next(c, Vg93Step::AddressByte, kByteTime);
        return;
    }
    c.sector = c.idField[0];
    FinishWith(c, IdCrcMatches(c) ? 0 : status::CrcError);
}

// Waits for the index hole (position 0), then goes on after `delay`.
void WaitIndex(Vg93& c, Vg93Step self, Vg93Step then, int32_t delay) {
    if (c.position == 0) {
        Next(c, then, delay);
    } else {
        Next(c, self, kByteTime);
    }
}

void TrackByte(Vg93& c, DiskSurface& disk) {
    if (c.position == 0) {
        Finish(c);
        return;
    }
    Deliver(c, TrackUnderHead(c, disk).data[static_cast<size_t>(c.position)]);
    Next(c, Vg93Step::TrackByte, kByteTime);
}

// Write Track: 0xF5 writes a marked 0xA1 and restarts the CRC, 0xF6 a marked 0xC2, 0xF7 the
// CRC in two byte times; everything else is written as it is.
void WriteTrackByte(Vg93& c, DiskSurface& disk) {
    DiskTrack& t = TrackUnderHead(c, disk);
    if (c.crcLowPending) {
        t.Put(c.position, static_cast<uint8_t>(c.crc), false);
        c.crcLowPending = false;
    } else {
        const uint8_t value = Collect(c);
        c.drq = true;
        switch (value) {
        case 0xF5:
            t.Put(c.position, 0xA1, true);
            c.crc = kCrcAfterSync;
            break;
        case 0xF6:
            t.Put(c.position, 0xC2, true);
            c.crc = CrcUpdate(c.crc, 0xC2);
            break;
        case 0xF7:
            t.Put(c.position, static_cast<uint8_t>(c.crc >> 8), false);
            c.crcLowPending = true;
            break;
        default:
            t.Put(c.position, value, false);
            c.crc = CrcUpdate(c.crc, value);
            break;
        }
    }
    if (c.position == kTrackBytes - 1) {
        Finish(c);
        return;
    }
    Next(c, Vg93Step::WriteTrackByte, kByteTime);
}

void BeginCommand(Vg93& c) {
    c.status |= status::Busy;
    if (c.phase == Vg93Phase::TypeI) {
        BeginTypeI(c);
    } else {
        Next(c, Vg93Step::ClearStatus, 28);
    }
}

void RunStep(Vg93& c, DiskSurface& disk) {
    switch (c.step) {
    case Vg93Step::None: Finish(c); break;
    case Vg93Step::Begin: BeginCommand(c); break;
    case Vg93Step::RestoreShift: StartShift(c, Vg93Shift::Load, 0xFF, Vg93Step::RestoreSeek); break;
    case Vg93Step::RestoreSeek:
        c.data = 0;
        Next(c, Vg93Step::SeekShift, kCommandStart);
        break;
    case Vg93Step::SeekShift: StartShift(c, Vg93Shift::Load, c.track, Vg93Step::SeekCompare); break;
    case Vg93Step::SeekCompare: SeekCompare(c); break;
    case Vg93Step::StepOnce: StepOnce(c); break;
    case Vg93Step::TypeIEnd: TypeIEnd(c); break;
    case Vg93Step::Verify: Verify(c, disk); break;
    case Vg93Step::ShiftBit: ShiftBit(c); break;
    case Vg93Step::ClearStatus: {
        const uint8_t cleared = c.phase == Vg93Phase::TypeII ? 0x74 : 0x7C;
        c.status &= static_cast<uint8_t>(~cleared);
        Next(c, Vg93Step::MotorCheck, 28);
        break;
    }
    case Vg93Step::MotorCheck: MotorCheck(c); break;
    case Vg93Step::SpunUp: SpunUp(c, disk); break;
    case Vg93Step::SearchId: SearchId(c, disk); break;
    case Vg93Step::IdPassed: IdPassed(c); break;
    case Vg93Step::DataMark: DataMark(c, disk); break;
    case Vg93Step::ReadByte: ReadByte(c, disk); break;
    case Vg93Step::ReadCrc: ReadCrc(c, disk); break;
    case Vg93Step::SectorDone: SectorDone(c); break;
    case Vg93Step::WriteDrq:
        c.drq = true;
        Next(c, Vg93Step::WriteCheck, Bytes(c.SingleDensity() ? 8 : 16));
        break;
    case Vg93Step::WriteCheck: WriteCheck(c); break;
    case Vg93Step::WriteField: WriteField(c, disk); break;
    case Vg93Step::AddressByte: AddressByte(c); break;
    case Vg93Step::TrackIndex:
        WaitIndex(c, Vg93Step::TrackIndex, Vg93Step::TrackByte, kByteTime);
        break;
    case Vg93Step::TrackByte: TrackByte(c, disk); break;
    case Vg93Step::WriteTrackCheck:
        if (c.drq) {
            FinishWith(c, status::LostData);
        } else {
            c.crcLowPending = false;
            c.crc = kCrcAfterSync;
            Next(c, Vg93Step::WriteTrackIndex, 0);
        }
        break;
    case Vg93Step::WriteTrackIndex:
        WaitIndex(c, Vg93Step::WriteTrackIndex, Vg93Step::WriteTrackByte, 0);
        break;
    case Vg93Step::WriteTrackByte: WriteTrackByte(c, disk); break;
    }
}

void StartCommand(Vg93& c, uint8_t value) {
    c.command = value;
    c.intrq = false;
    c.drq = false;
    c.immediateInterrupt = false;
    c.phase = kPhaseOf[value >> 4];
    c.typeIStatus = c.phase == Vg93Phase::TypeI;
    Next(c, Vg93Step::Begin, kCommandStart);
}

void ForceInterrupt(Vg93& c, uint8_t value) {
    c.command = value;
    c.immediateInterrupt = false;
    c.status = 0;
    c.phase = Vg93Phase::Idle;
    c.step = Vg93Step::None;
    c.delay = 0;
    c.typeIStatus = true;
    if ((value & 0x0F) == 0) {
        c.intrq = false;
        c.drq = false;
    } else {
        c.intrq = true;
    }
    if (value == 0xD8) c.immediateInterrupt = true;
}

} // namespace

void Vg93CatchUp(Vg93& c, DiskSurface& disk, int32_t now, int32_t frameLength) {
    if (now < c.time) c.time -= frameLength; // the frame has wrapped since the last catch-up
    int32_t elapsed = std::max(now - c.time, 0);
    c.time = now;
    while (c.Running()) {
        if (c.delay > elapsed) {
            Rotate(c, elapsed);
            c.delay -= elapsed;
            return;
        }
        Rotate(c, c.delay);
        elapsed -= c.delay;
        c.delay = 0;
        RunStep(c, disk);
    }
    Rotate(c, elapsed);
    if (c.revolutions > kIdleRevolutions) c.motor = false;
}

void Vg93EndFrame(Vg93& c, DiskSurface& disk, int32_t now, int32_t frameLength) {
    Vg93CatchUp(c, disk, now, frameLength);
    c.time -= frameLength;
}

void Vg93WriteCommand(Vg93& c, uint8_t value) {
    if (c.InReset()) return;
    if ((value & 0xF0) == 0xD0) {
        ForceInterrupt(c, value);
        return;
    }
    if (c.Running()) return;
    StartCommand(c, value);
}

void Vg93WriteTrack(Vg93& c, uint8_t value) {
    c.track = value;
}

void Vg93WriteSector(Vg93& c, uint8_t value) {
    if (!c.InReset()) c.sector = value;
}

void Vg93WriteData(Vg93& c, uint8_t value) {
    c.data = value;
    c.drq = false;
}

uint8_t Vg93ReadStatus(Vg93& c, bool writeProtected) {
    const uint8_t value = Vg93PeekStatus(c, writeProtected);
    if (!c.immediateInterrupt) c.intrq = false;
    return value;
}

uint8_t Vg93ReadData(Vg93& c) {
    c.drq = false;
    return c.data;
}

void Vg93WriteSystem(Vg93& c, uint8_t value) {
    if (value == c.system) return;
    c.side = (value & system_bits::Side0) ? 0 : 1;
    c.drive = value & system_bits::DriveMask;
    const bool wasReset = c.InReset();
    const bool nowReset = (value & system_bits::NotReset) == 0;
    if (wasReset && !nowReset) {
        // Leaving reset, the controller restores at the slowest rate without verifying.
        c.data = 0;
        c.track = 0;
        c.motor = false;
        c.status = 0;
        StartCommand(c, 0x03);
    } else if (!wasReset && nowReset) {
        // Entering reset aborts whatever runs.
        c.sector = 1;
        c.phase = Vg93Phase::Idle;
        c.step = Vg93Step::None;
        c.status = 0;
        c.drq = false;
    }
    c.system = value;
}

uint8_t Vg93PeekStatus(const Vg93& c, bool writeProtected) {
    if (c.InReset()) return 0x83;
    uint8_t s = c.status;
    if (c.typeIStatus) {
        s &= static_cast<uint8_t>(
            ~(status::Index | status::Track0 | status::HeadLoaded | status::WriteProtect));
        if (c.motor) {
            if (c.system & system_bits::HeadLoad) s |= status::HeadLoaded;
            if (writeProtected) s |= status::WriteProtect;
            if (c.position < kIndexBytes) s |= status::Index;
            if (c.head == 0) s |= status::Track0;
        }
    } else {
        s = static_cast<uint8_t>((s & ~status::Drq) | (c.drq ? status::Drq : 0));
    }
    if (c.motor) {
        s &= static_cast<uint8_t>(~status::NotReady);
    } else {
        s |= status::NotReady;
    }
    return s;
}

uint8_t Vg93PeekSystem(const Vg93& c) {
    return static_cast<uint8_t>((c.intrq ? 0x80 : 0) | (c.drq ? 0x40 : 0) | 0x3F);
}

} // namespace vespin
