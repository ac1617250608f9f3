#include "media/tape_player.h"

#include "core/machine.h"
#include "sound/sound_output.h"

namespace vespin {

namespace {

constexpr uint8_t kEarHigh = 0x40;
constexpr int32_t kTapBlockPauseFrames = 50; // one second after every TAP block
// Blocks without a signal (jumps, loops, texts) are walked in one go. A tape that jumps to
// itself would walk them forever; after this many steps without a pulse the tape stops.
constexpr uint32_t kMaxSilentSteps = 1u << 22;

// Milliseconds of a TZX pause in T-states: one frame is 20 ms.
int32_t MsToT(const MachineState& m, uint32_t ms) {
    return int32_t(ms) * (m.frameLength / 20);
}

uint8_t ByteAt(const TapeImage& img, uint32_t pos) {
    return pos < img.data.size() ? img.data[pos] : 0;
}
uint16_t WordAt(const TapeImage& img, uint32_t pos) {
    return uint16_t(ByteAt(img, pos) | ByteAt(img, pos + 1) << 8);
}

int32_t Current(const TapePlayer& p) {
    return p.currentBlock.load(std::memory_order_relaxed);
}
void SetCurrent(TapePlayer& p, int32_t b) {
    p.currentBlock.store(b, std::memory_order_relaxed);
}
void AdvanceBlock(TapePlayer& p) {
    SetCurrent(p, Current(p) + 1);
}

void SetStandardTimings(TapePlayer& p) {
    p.pilot = kPilotPulse;
    p.sync1 = kSync1Pulse;
    p.sync2 = kSync2Pulse;
    p.zero = kZeroPulse;
    p.one = kOnePulse;
    p.usedBits = 8;
}

// Header blocks (flag 0) have the long pilot tone.
uint16_t PilotPulsesFor(const TapePlayer& p) {
    const bool header = p.dataStart < p.blockEnd && p.image.data[p.dataStart] == 0;
    return header ? kHeaderPilotPulses : kDataPilotPulses;
}

// The data of block b starts at dataStart and ends where the next block begins.
void BeginData(TapePlayer& p, int32_t b, uint32_t dataStart, TapeState afterBlock) {
    p.dataStart = dataStart;
    p.dataPos = dataStart;
    p.blockEnd = p.image.BlockEnd(b);
    p.afterBlock = afterBlock;
    p.inPause = false;
}

// Starts the pilot tone; a turbo block without pilot pulses starts with its first sync pulse.
void StartPilot(TapePlayer& p) {
    if (p.pulseCounter == 0) {
        p.state = TapeState::Sync2;
        p.tLeft += p.sync1;
    } else {
        p.state = TapeState::Pilot;
        p.tLeft += p.pilot;
    }
}

void SetUpTapBlock(MachineState& m) {
    TapePlayer& p = m.tape;
    const int32_t b = Current(p);
    if (b < 0 || b >= p.image.BlockCount()) {
        TapeStop(m);
        return;
    }
    BeginData(p, b, p.image.BlockStart(b) + 2, TapeState::TapBlock);
    SetStandardTimings(p);
    p.pulseCounter = PilotPulsesFor(p);
    p.tLeft = p.pilot;
    p.pause = kTapBlockPauseFrames * m.frameLength;
    p.state = TapeState::Pilot;
}

void ReportProgress(TapePlayer& p) {
    if (++p.byteCounter % 11 != 0 || p.blockEnd <= p.dataStart) return;
    const uint64_t done = p.dataPos - p.dataStart;
    p.progressPercent.store(int32_t(done * 100 / (p.blockEnd - p.dataStart)),
                            std::memory_order_relaxed);
    p.captionRefresh.store(true, std::memory_order_release);
}

// State 2. Returns true when the generator must run again at once in the new state.
bool NextDataByte(MachineState& m) {
    TapePlayer& p = m.tape;
    ReportProgress(p);
    if (p.dataPos < p.blockEnd) {
        p.dataByte = p.image.data[p.dataPos++];
        p.bitsLeft = p.dataPos == p.blockEnd ? p.usedBits : 8;
        p.state = TapeState::BitFirstHalf;
        return true;
    }
    const int32_t b = Current(p);
    if (b + 1 >= p.image.BlockCount()) {
        p.state = TapeState::EndOfTape; // the current block stays on the last one
    } else {
        SetCurrent(p, b + 1);
        p.state = p.afterBlock;
    }
    if (p.pause == 0) return true;
    p.inPause = true;
    p.msCountdown = m.frameLength / 20;
    p.tLeft += p.pause;
    return false;
}

// State 7: walks TZX blocks until one gives a pulse or the tape stops. Returns true when the
// generator must run again at once (a pure data block goes straight to its first byte).
// silentSteps counts the blocks walked in this run of the generator.
bool InterpretTzxBlocks(MachineState& m, uint32_t& silentSteps) {
    TapePlayer& p = m.tape;
    const TapeImage& img = p.image;
    for (;;) {
        const int32_t b = Current(p);
        if (b < 0 || b >= img.BlockCount() || ++silentSteps > kMaxSilentSteps) {
            TapeStop(m);
            return false;
        }
        const uint32_t s = img.BlockStart(b);
        switch (img.data[s]) {
        case 0x10:
            p.pause = MsToT(m, WordAt(img, s + 1));
            BeginData(p, b, s + 5, TapeState::TzxBlock);
            SetStandardTimings(p);
            p.pulseCounter = PilotPulsesFor(p);
            StartPilot(p);
            return false;
        case 0x11:
            p.pilot = WordAt(img, s + 1);
            p.sync1 = WordAt(img, s + 3);
            p.sync2 = WordAt(img, s + 5);
            p.zero = WordAt(img, s + 7);
            p.one = WordAt(img, s + 9);
            p.pulseCounter = WordAt(img, s + 11);
            p.usedBits = ByteAt(img, s + 13);
            p.pause = MsToT(m, WordAt(img, s + 14));
            BeginData(p, b, s + 19, TapeState::TzxBlock);
            StartPilot(p);
            return false;
        case 0x12:
            p.tonePulse = WordAt(img, s + 1);
            p.pulseCounter = WordAt(img, s + 3);
            if (p.pulseCounter == 0) break;
            p.tLeft += p.tonePulse;
            p.state = TapeState::PureTone;
            return false;
        case 0x13:
            p.pulseCounter = ByteAt(img, s + 1);
            if (p.pulseCounter == 0) break;
            p.dataPos = s + 2;
            p.tLeft += WordAt(img, p.dataPos);
            p.dataPos += 2;
            p.state = TapeState::PulseSequence;
            return false;
        case 0x14:
            p.zero = WordAt(img, s + 1);
            p.one = WordAt(img, s + 3);
            p.usedBits = ByteAt(img, s + 5);
            p.pause = MsToT(m, WordAt(img, s + 6));
            BeginData(p, b, s + 11, TapeState::TzxBlock);
            p.state = TapeState::NextByte;
            return true;
        case 0x20: {
            AdvanceBlock(p);
            const uint16_t ms = WordAt(img, s + 1);
            if (ms == 0) {
                TapeStop(m);
                return false;
            }
            // One long pulse: the level is not forced low and toggles when it ends.
            p.tLeft += MsToT(m, ms);
            return false;
        }
        case 0x23: {
            const int32_t target = b + int16_t(WordAt(img, s + 1));
            if (target < 0 || target > img.BlockCount()) {
                TapeStop(m);
                return false;
            }
            SetCurrent(p, target);
            continue;
        }
        case 0x24:
            p.loopCounter = uint16_t(WordAt(img, s + 1) - 1); // a count of 0 plays 65536 times
            p.loopStart = b + 1;
            SetCurrent(p, b + 1);
            continue;
        case 0x25:
            if (p.loopCounter != 0) {
                SetCurrent(p, p.loopStart);
                --p.loopCounter;
            } else {
                AdvanceBlock(p);
            }
            continue;
        case 0x2A:
            AdvanceBlock(p);
            // Bit 5 of the paging latch locks paging: the machine is in its 48K state.
            if (m.memory.paging.PagingLatch & 0x20) {
                TapeStop(m);
                return false;
            }
            continue;
        case 0x28:
            TapeStop(m);
            p.pendingSelectionBlock.store(b, std::memory_order_release);
            return false;
        case 0x31: p.pendingMessageBlock.store(b, std::memory_order_release); break;
        default: break; // group start and end, texts, archive and hardware info, glue
        }
        AdvanceBlock(p);
    }
}

void RunGenerator(MachineState& m) {
    TapePlayer& p = m.tape;
    uint32_t silentSteps = 0;
    for (;;) {
        switch (p.state) {
        case TapeState::Pilot:
            if (--p.pulseCounter != 0) {
                p.tLeft += p.pilot;
            } else {
                p.state = TapeState::Sync2;
                p.tLeft += p.sync1;
            }
            return;
        case TapeState::Sync2:
            p.state = TapeState::NextByte;
            p.tLeft += p.sync2;
            return;
        case TapeState::NextByte:
            if (NextDataByte(m)) continue;
            return;
        case TapeState::BitFirstHalf:
            p.state = TapeState::BitSecondHalf;
            p.tLeft += (p.dataByte & 0x80) ? p.one : p.zero;
            return;
        case TapeState::BitSecondHalf:
            p.tLeft += (p.dataByte & 0x80) ? p.one : p.zero;
            p.dataByte = uint8_t(p.dataByte << 1);
            p.state = --p.bitsLeft <= 0 ? TapeState::NextByte : TapeState::BitFirstHalf;
            return;
        case TapeState::TapBlock: SetUpTapBlock(m); return;
        case TapeState::EndOfTape: TapeStop(m); return;
        case TapeState::TzxBlock:
            if (InterpretTzxBlocks(m, silentSteps)) continue;
            return;
        case TapeState::PureTone:
            if (--p.pulseCounter != 0) {
                p.tLeft += p.tonePulse;
                return;
            }
            AdvanceBlock(p);
            p.state = TapeState::TzxBlock;
            continue;
        case TapeState::PulseSequence:
            if (--p.pulseCounter != 0) {
                p.tLeft += WordAt(p.image, p.dataPos);
                p.dataPos += 2;
                return;
            }
            AdvanceBlock(p);
            p.state = TapeState::TzxBlock;
            continue;
        }
        return;
    }
}

void CarryOutRequests(MachineState& m) {
    const uint8_t r = m.tape.requests.exchange(0, std::memory_order_acq_rel);
    if (r & kTapeRequestPlay) TapePlay(m);
    if (r & kTapeRequestStop) TapeStop(m);
}

// Stops the ticks unless a request arrived meanwhile; both sides use sequentially consistent
// order so that a request is never lost between the two stores.
void ParkUnlessRequested(TapePlayer& p) {
    p.running.store(false, std::memory_order_seq_cst);
    if (p.requests.load(std::memory_order_seq_cst) != 0) p.running.store(true);
}

} // namespace

void TapeTick(MachineState& m, int32_t t) {
    TapePlayer& p = m.tape;
    if (p.requests.load(std::memory_order_relaxed) != 0) CarryOutRequests(m);
    if (!p.playing.load(std::memory_order_relaxed)) {
        ParkUnlessRequested(p);
        return;
    }
    int32_t elapsed = t - p.previousT;
    if (elapsed < 0) elapsed += m.frameLength; // the counter wrapped at the frame end
    if (p.inPause) {
        p.msCountdown -= elapsed;
        if (p.msCountdown < 0) p.earByte = 0;
    }
    p.previousT = t;
    p.tLeft -= elapsed;
    if (p.tLeft >= 1) return;
    if (p.inPause) {
        p.inPause = false; // the end of a pause is not an edge
    } else {
        p.earByte ^= kEarHigh;
    }
    RunGenerator(m);
    SetTapeInputLevel(m, p.earByte != 0);
}

void TapePlay(MachineState& m) {
    TapePlayer& p = m.tape;
    if (p.playing.load(std::memory_order_relaxed) || p.image.kind == TapeKind::None) return;
    p.previousT = m.regs.T;
    p.tLeft = 0;
    p.inPause = false;
    p.state = p.image.kind == TapeKind::Tap ? TapeState::TapBlock : TapeState::TzxBlock;
    // Playing is set before the first step so that a tape that stops at once stays stopped.
    p.playing.store(true, std::memory_order_relaxed);
    p.running.store(true, std::memory_order_relaxed);
    RunGenerator(m);
}

void TapePlayButtonClick(MachineState& m) {
    TapePlay(m);
}

void TapeStop(MachineState& m) {
    TapePlayer& p = m.tape;
    if (!p.playing.load(std::memory_order_relaxed)) return;
    p.playing.store(false, std::memory_order_relaxed);
    p.progressPercent.store(-1, std::memory_order_relaxed);
    p.captionRefresh.store(true, std::memory_order_release);
    ParkUnlessRequested(p);
}

void EjectTape(MachineState& m) {
    TapePlayer& p = m.tape;
    // Nothing of the old image may outlive it: requests, pending items, the playing state.
    p.requests.store(0);
    TapeStop(m);
    p.running.store(false);
    p.pendingMessageBlock.store(-1);
    p.pendingSelectionBlock.store(-1);
    p.image = TapeImage{};
    p.currentBlock.store(0);
}

std::string InsertTapeFile(MachineState& m, const std::filesystem::path& path) {
    DescribedTape tape;
    if (std::string error = OpenTapeFile(path, BlockInfoMode::Hexadecimal, tape); !error.empty())
        return error;
    EjectTape(m);
    m.tape.image = std::move(tape.image);
    return {};
}

void RequestTapePlay(TapePlayer& p) {
    p.requests.fetch_or(kTapeRequestPlay, std::memory_order_seq_cst);
    p.running.store(true, std::memory_order_seq_cst);
}

void RequestTapeStop(TapePlayer& p) {
    p.requests.fetch_or(kTapeRequestStop, std::memory_order_seq_cst);
    p.running.store(true, std::memory_order_seq_cst);
}

} // namespace vespin
