#include "core/memory.h"

namespace vespin {

namespace {

// Storage order of the banks: 5, 2, 0 first so that they form the 48K space in one piece.
constexpr std::array<uint8_t, 3> kFirstBanks{5, 2, 0};

size_t StorageIndex(int bank) {
    for (size_t i = 0; i < kFirstBanks.size(); ++i) {
        if (kFirstBanks[i] == bank) return i;
    }
    // 1 -> 3, 3 -> 4, 4 -> 5, 6 -> 6, 7 -> 7, 8.. -> 8..
    if (bank == 1) return 3;
    if (bank == 3 || bank == 4) return static_cast<size_t>(bank + 1);
    return static_cast<size_t>(bank);
}

bool IsScorpion(MemoryModel model) {
    return model == MemoryModel::Scorpion256 || model == MemoryModel::Scorpion1024;
}

LowSource RomSelectedByLatch(const PagingState& p) {
    return (p.PagingLatch & 0x10) ? LowSource::Basic48 : LowSource::Rom128;
}

} // namespace

Memory::Memory() : ram(new uint8_t[kPageSize * kRamBanks]()) {
    for (int bank = 0; bank < kRamBanks; ++bank) {
        BankTable[static_cast<size_t>(bank)] = ram.get() + StorageIndex(bank) * kPageSize;
    }
    MapWindows(*this);
}

void MapWindows(Memory& mem) {
    PagingState& p = mem.paging;
    switch (p.Low) {
    case LowSource::Basic48: p.window[0] = mem.Rom(RomSlot::Basic48); break;
    case LowSource::Rom128: p.window[0] = mem.Rom(RomSlot::Rom128); break;
    case LowSource::Trdos: p.window[0] = mem.Rom(RomSlot::Trdos); break;
    case LowSource::RamBank0: p.window[0] = mem.Bank(0); break;
    }
    p.window[1] = mem.Bank(5);
    p.window[2] = mem.Bank(2);
    p.window[3] = mem.Bank(p.HighBank & (kRamBanks - 1));
    p.ScreenPage = mem.Bank((p.PagingLatch & 0x08) ? 7 : 5);
}

void WritePort7FFD(Memory& mem, uint8_t v) {
    PagingState& p = mem.paging;
    // Bit 5 locks the port until reset (48K mode); on the Pentagon 1024k it is a bank bit.
    if ((p.PagingLatch & 0x20) && mem.model != MemoryModel::Pentagon1024) return;
    p.PagingLatch = v;
    switch (mem.model) {
    case MemoryModel::Pentagon256: p.BankExtension = (v & 0x40) >> 3; break;
    case MemoryModel::Pentagon512: p.BankExtension = (v & 0xC0) >> 3; break;
    case MemoryModel::Pentagon1024: p.BankExtension = (v & 0xE0) >> 2; break;
    default: break; // 128K and Scorpion: the extension comes from port 0x1FFD
    }
    p.HighBank = static_cast<uint8_t>((v & 7) + p.BankExtension);
    if (!p.TrdosActive) p.Low = RomSelectedByLatch(p);
    p.RomWritable = 0;
    if (IsScorpion(mem.model) && (p.ExtendedLatch & 0x01)) {
        p.RomWritable = 1;
        p.Low = LowSource::RamBank0;
    }
    MapWindows(mem);
}

void WritePort1FFD(Memory& mem, uint8_t v) {
    if (!IsScorpion(mem.model)) return;
    PagingState& p = mem.paging;
    p.ExtendedLatch = v;
    p.RomWritable = 0;
    if (v & 0x01) {
        p.RomWritable = 1;
        p.Low = LowSource::RamBank0;
    } else {
        // Also while the TR-DOS ROM is in: the Scorpion's ROM select overrides it, and
        // TrdosActive stays as it was.
        p.Low = RomSelectedByLatch(p);
    }
    p.BankExtension = static_cast<uint8_t>((v & 0x10) >> 1);
    if (mem.model == MemoryModel::Scorpion1024) p.BankExtension |= (v & 0xC0) >> 2;
    p.HighBank = static_cast<uint8_t>((p.PagingLatch & 7) + p.BankExtension);
    MapWindows(mem);
}

void SwitchTrdosRomSlow(Memory& mem, uint16_t pc) {
    PagingState& p = mem.paging;
    if ((pc >> 8) == 0x3D) {
        if (p.PagingLatch & 0x10) {
            p.TrdosActive = 1;
            p.Low = LowSource::Trdos;
            MapWindows(mem);
        }
    } else if (p.TrdosActive && pc >= 0x4000) {
        // Leaving the TR-DOS ROM always returns to the 48K BASIC ROM.
        p.TrdosActive = 0;
        p.Low = LowSource::Basic48;
        MapWindows(mem);
    }
}

const char* MemoryModelName(MemoryModel model) {
    static constexpr const char* kNames[] = {
        "ZX Spectrum 128k", "Pentagon 256k",    "Pentagon 512k",
        "Pentagon 1024k",   "Scorpion ZS 256k", "Scorpion ZS 1024k",
    };
    const auto index = static_cast<size_t>(model);
    return index < std::size(kNames) ? kNames[index] : "";
}

} // namespace vespin
