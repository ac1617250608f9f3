#include "media/sna.h"

#include <algorithm>

#include "core/machine.h"
#include "media/file_utils.h"

namespace vespin {

namespace {

constexpr size_t kHeaderSize = 27;
constexpr size_t kRam48Size = 3 * kPageSize;
constexpr size_t kExtensionOffset = kHeaderSize + kRam48Size; // 49179: PC, latch, TR-DOS flag

// Banks 0-7 of a 128K file after the first 48 KB: all but 2, 5 and the one paged at 0xC000.
bool StoredAfterExtension(int bank, uint8_t latch) {
    return bank != 2 && bank != 5 && bank != (latch & 7);
}

uint16_t Word(std::span<const uint8_t> f, size_t at) {
    return static_cast<uint16_t>(f[at] | f[at + 1] << 8);
}

void PutWord(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void ReadHeader(std::span<const uint8_t> f, Z80RegisterSet& r) {
    r.I = f[0];
    r.HL_ = Word(f, 1);
    r.DE_ = Word(f, 3);
    r.BC_ = Word(f, 5);
    r.AF_ = Word(f, 7);
    r.SetHL(Word(f, 9));
    r.SetDE(Word(f, 11));
    r.SetBC(Word(f, 13));
    r.IY = Word(f, 15);
    r.IX = Word(f, 17);
    r.IFF2 = (f[19] & 0x04) ? 1 : 0;
    r.IFF1 = r.IFF2;
    r.SetR(f[20]);
    r.SetAF(Word(f, 21));
    r.SP = Word(f, 23);
    r.IM = f[25];
}

// The header with the given SP; the border is the last port 0xFE value.
void WriteHeader(const MachineState& m, uint16_t sp, std::vector<uint8_t>& out) {
    const Z80RegisterSet& r = m.regs;
    out.push_back(r.I);
    PutWord(out, r.HL_);
    PutWord(out, r.DE_);
    PutWord(out, r.BC_);
    PutWord(out, r.AF_);
    PutWord(out, r.HL());
    PutWord(out, r.DE());
    PutWord(out, r.BC());
    PutWord(out, r.IY);
    PutWord(out, r.IX);
    out.push_back(r.IFF2 ? 0x04 : 0x00);
    out.push_back(r.VisibleR());
    PutWord(out, r.AF());
    PutWord(out, sp);
    out.push_back(r.IM);
    out.push_back(m.lastKeyboardPort & 7);
}

void AppendPage(const uint8_t* page, std::vector<uint8_t>& out) {
    out.insert(out.end(), page, page + kPageSize);
}

void AppendRam48(const MachineState& m, std::vector<uint8_t>& out) {
    AppendPage(m.memory.Bank(5), out);
    AppendPage(m.memory.Bank(2), out);
    AppendPage(m.memory.paging.window[3], out);
}

} // namespace

SnapshotImage ParseSna(std::span<const uint8_t> f) {
    if (f.size() != kSna48Size && f.size() != kSna128Size &&
        f.size() != kSna128WithPagedBank2Or5Size)
        throw SnapshotError("This file is not SNA format snapshot file, check it!");

    SnapshotImage image;
    ReadHeader(f, image.regs);
    image.border = f[26] & 7;
    image.resetFrameClock = true;
    auto ram = f.subspan(kHeaderSize, kRam48Size);

    if (f.size() == kSna48Size) {
        image.machine48k = true;
        image.popPc = true;
        for (int8_t bank : {5, 2, 0}) {
            std::ranges::copy(ram.first(kPageSize), image.AddPage(bank).begin());
            ram = ram.subspan(kPageSize);
        }
        return image;
    }

    image.machine48k = false;
    image.regs.PC = Word(f, kExtensionOffset);
    image.pagingLatch = f[kExtensionOffset + 2];
    image.trdosActive = f[kExtensionOffset + 3] != 0;
    for (int8_t bank : {int8_t{5}, int8_t{2}, kPagedHighBank}) {
        std::ranges::copy(ram.first(kPageSize), image.AddPage(bank).begin());
        ram = ram.subspan(kPageSize);
    }
    // Which banks follow is decided by the latch: a 131103-byte file whose latch pages bank 2
    // or 5 lacks one of them and is refused rather than read past its end. A 147487-byte file
    // with another bank paged just carries an unused last bank.
    auto rest = f.subspan(kExtensionOffset + 4);
    for (int8_t bank = 0; bank < 8; ++bank) {
        if (!StoredAfterExtension(bank, image.pagingLatch)) continue;
        if (rest.size() < kPageSize)
            throw SnapshotError("This file is not SNA format snapshot file, check it!");
        std::ranges::copy(rest.first(kPageSize), image.AddPage(bank).begin());
        rest = rest.subspan(kPageSize);
    }
    return image;
}

void LoadSna(MachineState& m, std::span<const uint8_t> file) {
    ApplySnapshot(m, ParseSna(file));
}

std::vector<uint8_t> BuildSna48(const MachineState& m) {
    std::vector<uint8_t> out;
    out.reserve(kSna48Size);
    // The 48K format has no PC: it is pushed below SP as an interrupt would, and a loader pops
    // it. The push goes into the file only, as it would land in RAM; into ROM it is lost.
    const auto sp = static_cast<uint16_t>(m.regs.SP - 2);
    WriteHeader(m, sp, out);
    AppendRam48(m, out);
    for (uint16_t k = 0; k < 2; ++k) {
        const auto address = static_cast<uint16_t>(sp + k);
        if (address >= 0x4000)
            out[kHeaderSize + address - 0x4000] = static_cast<uint8_t>(m.regs.PC >> (8 * k));
    }
    return out;
}

std::vector<uint8_t> BuildSna128(const MachineState& m) {
    std::vector<uint8_t> out;
    out.reserve(kSna128WithPagedBank2Or5Size);
    WriteHeader(m, m.regs.SP, out);
    AppendRam48(m, out);
    const PagingState& p = m.memory.paging;
    PutWord(out, m.regs.PC);
    out.push_back(p.PagingLatch);
    out.push_back(p.TrdosActive ? 1 : 0);
    for (int bank = 0; bank < 8; ++bank) {
        if (StoredAfterExtension(bank, p.PagingLatch)) AppendPage(m.memory.Bank(bank), out);
    }
    return out;
}

bool SaveSna48(const MachineState& m, const std::filesystem::path& path) {
    return WriteFileAtomically(path, BuildSna48(m));
}

bool SaveSna128(const MachineState& m, const std::filesystem::path& path) {
    return WriteFileAtomically(path, BuildSna128(m));
}

} // namespace vespin
