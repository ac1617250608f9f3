#include "media/z80_snapshot.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vespin {

namespace {

constexpr size_t kV1HeaderSize = 30;
constexpr size_t kRam48Size = 3 * kPageSize;
constexpr uint16_t kPlainBlock = 0xFFFF; // a block stored without coding, 16384 bytes

const char kInvalid[] = "Invalid Z80 snapshot file!";

enum class Kind : uint8_t { Version1, Later48k, Later128k };

// Page numbers of the memory blocks: 48K snapshots use 8, 4 and 5 for 0x4000, 0x8000 and
// 0xC000; 128K snapshots use 3 to 10 for banks 0 to 7. Others are ROM or interface pages.
constexpr std::array<int8_t, 11> k48kPageBank{-1, -1, -1, -1, 2, 0, -1, -1, 5, -1, -1};

std::optional<int8_t> BankOfPage(Kind kind, uint8_t page) {
    if (kind == Kind::Later128k) {
        if (page >= 3 && page <= 10) return static_cast<int8_t>(page - 3);
        return std::nullopt;
    }
    if (page < k48kPageBank.size() && k48kPageBank[page] >= 0) return k48kPageBank[page];
    return std::nullopt;
}

uint16_t Word(std::span<const uint8_t> f, size_t at) {
    return static_cast<uint16_t>(f[at] | f[at + 1] << 8);
}

uint8_t Take(std::span<const uint8_t> in, size_t& pos) {
    if (pos >= in.size()) throw SnapshotError(kInvalid);
    return in[pos++];
}

// Decided from the header before anything else is read.
Kind KindOf(std::span<const uint8_t> f) {
    if (f.size() < kV1HeaderSize) throw SnapshotError(kInvalid);
    if (Word(f, 6) != 0) return Kind::Version1;
    if (f.size() < 36) throw SnapshotError(kInvalid);
    const bool version2 = f[30] == 23;
    const auto mode = static_cast<int8_t>(f[34]);
    if (mode == 2) throw SnapshotError("Sorry! SamRam Hardware Mode not supported yet!");
    return mode < (version2 ? 2 : 4) ? Kind::Later48k : Kind::Later128k;
}

void ReadHeader(std::span<const uint8_t> f, SnapshotImage& image) {
    Z80RegisterSet& r = image.regs;
    const uint8_t flags = f[12];
    r.A = f[0];
    r.F = f[1];
    r.SetBC(Word(f, 2));
    r.SetHL(Word(f, 4));
    r.PC = Word(f, 6);
    r.SP = Word(f, 8);
    r.I = f[10];
    r.SetR(static_cast<uint8_t>((f[11] & 0x7F) | (flags & 1) << 7));
    image.border = (flags >> 1) & 7;
    r.SetDE(Word(f, 13));
    r.BC_ = Word(f, 15);
    r.DE_ = Word(f, 17);
    r.HL_ = Word(f, 19);
    r.AF_ = static_cast<uint16_t>(f[21] << 8 | f[22]);
    r.IY = Word(f, 23);
    r.IX = Word(f, 25);
    // Writers store any nonzero value for "enabled"; the core works with 0 and 1.
    r.IFF1 = f[27] != 0 ? 1 : 0;
    r.IFF2 = f[28] != 0 ? 1 : 0;
    r.IM = f[29] & 3;
}

void ReadVersion1Memory(std::span<const uint8_t> f, bool coded, SnapshotImage& image) {
    for (int8_t bank : {5, 2, 0})
        image.AddPage(bank);
    const std::span<uint8_t> ram(image.pages);
    const auto data = f.subspan(kV1HeaderSize);
    if (coded) {
        size_t pos = 0;
        UnpackZ80Block(data, pos, ram);
    } else {
        if (data.size() < kRam48Size) throw SnapshotError(kInvalid);
        std::ranges::copy(data.first(kRam48Size), ram.begin());
    }
}

void ReadMemoryBlocks(std::span<const uint8_t> f, Kind kind, SnapshotImage& image) {
    const auto extraLength = static_cast<int16_t>(Word(f, 30));
    if (extraLength < 4 || f.size() < 32u + static_cast<size_t>(extraLength))
        throw SnapshotError(kInvalid);
    size_t pos = 32 + static_cast<size_t>(extraLength);
    while (pos < f.size()) {
        if (f.size() - pos < 3) throw SnapshotError(kInvalid);
        const uint16_t length = Word(f, pos);
        const uint8_t page = f[pos + 2];
        pos += 3;
        const size_t stored = length == kPlainBlock ? kPageSize : length;
        if (f.size() - pos < stored) throw SnapshotError(kInvalid);
        const auto block = f.subspan(pos, stored);
        pos += stored;

        const auto bank = BankOfPage(kind, page);
        if (!bank) continue;
        const std::span<uint8_t> dst = image.AddPage(*bank);
        if (length == kPlainBlock) {
            std::ranges::copy(block, dst.begin());
        } else {
            size_t blockPos = 0;
            UnpackZ80Block(block, blockPos, dst);
        }
    }
}

} // namespace

void UnpackZ80Block(std::span<const uint8_t> in, size_t& pos, std::span<uint8_t> out) {
    const size_t n = out.size();
    size_t p = 0;
    auto store = [&](uint8_t v) {
        if (p >= n) throw SnapshotError(kInvalid);
        out[p++] = v;
    };
    while (p < n) {
        const uint8_t b = Take(in, pos);
        if (b != 0xED || p == n - 1) {
            store(b);
            continue;
        }
        const uint8_t c = Take(in, pos);
        if (c != 0xED) {
            store(0xED);
            store(c);
            continue;
        }
        const uint8_t count = Take(in, pos);
        const uint8_t value = Take(in, pos);
        for (int k = 0; k < count; ++k)
            store(value);
    }
}

SnapshotImage ParseZ80(std::span<const uint8_t> f) {
    const Kind kind = KindOf(f);
    SnapshotImage image;
    ReadHeader(f, image);
    image.machine48k = kind != Kind::Later128k;
    if (kind == Kind::Version1) {
        ReadVersion1Memory(f, (f[12] & 0x20) != 0, image);
        return image;
    }
    image.regs.PC = Word(f, 32);
    if (kind == Kind::Later128k) image.pagingLatch = f[35];
    ReadMemoryBlocks(f, kind, image);
    return image;
}

void LoadZ80(MachineState& m, std::span<const uint8_t> file) {
    ApplySnapshot(m, ParseZ80(file));
}

} // namespace vespin
