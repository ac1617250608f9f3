// Memory engine: three ROM slots, 64 RAM banks and the windows that map them into the Z80's
// 64 KB address space.
//
// RAM is stored in the bank order 5, 2, 0, 1, 3, 4, 6, 7, 8, ..., 63, so banks 5, 2 and 0 lie
// one after another and form the 48K address space 0x4000-0xFFFF in one piece. Every access by
// the processor, the debugger, the snapshot code and the memory-block dialogs goes through
// ReadByte/WriteByte: one shift of the address and one indexed load through the window table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vespin {

constexpr size_t kPageSize = 16384;
constexpr int kRamBanks = 64;

enum class RomSlot : uint8_t { Basic48 = 0, Rom128 = 1, Trdos = 2 };

// What 0x0000-0x3FFF shows.
enum class LowSource : uint8_t { Basic48 = 0, Rom128 = 1, Trdos = 2, RamBank0 = 3 };

// Memory models, by the value of the "Model" option.
enum class MemoryModel : uint8_t {
    Spectrum128 = 0,
    Pentagon256 = 1,
    Pentagon512 = 2,
    Pentagon1024 = 3,
    Scorpion256 = 4,
    Scorpion1024 = 5,
};

struct PagingState {
    LowSource Low = LowSource::Rom128; // LowWindow
    uint8_t HighBank = 0;              // the bank in HighWindow
    uint8_t RomWritable = 0;
    uint8_t PagingLatch = 0;   // last value accepted on port 0x7FFD
    uint8_t ExtendedLatch = 0; // last value accepted on port 0x1FFD
    uint8_t BankExtension = 0; // 0, 8, ..., 56: added to latch bits 0-2 for the high bank
    uint8_t TrdosActive = 0;

    // Derived from the fields above by MapWindows: one pointer per 16 KB quarter (the middle
    // window, banks 5 and 2, is quarters 1 and 2) and the page the screen shows.
    std::array<uint8_t*, 4> window{};
    const uint8_t* ScreenPage = nullptr;
};

struct Memory {
    Memory();
    Memory(const Memory&) = delete;
    Memory& operator=(const Memory&) = delete;

    std::array<std::array<uint8_t, kPageSize>, 3> rom{}; // slots in RomSlot order
    std::unique_ptr<uint8_t[]> ram;                      // 64 banks in storage order
    std::array<uint8_t*, kRamBanks> BankTable{};         // bank number -> its storage
    PagingState paging;
    MemoryModel model = MemoryModel::Spectrum128;
    bool trdosEnabled = true; // the TR-DOS ROM switch at 0x3Dxx is done only when set

    uint8_t* Bank(int n) { return BankTable[static_cast<size_t>(n)]; }
    const uint8_t* Bank(int n) const { return BankTable[static_cast<size_t>(n)]; }
    // Banks 5, 2 and 0 as one 48 KB range (0x4000-0xFFFF of a 48K machine).
    uint8_t* Ram48() { return BankTable[5]; }
    uint8_t* Rom(RomSlot slot) { return rom[static_cast<size_t>(slot)].data(); }
};

inline uint8_t ReadByte(const Memory& mem, uint16_t address) {
    return mem.paging.window[address >> 14][address & 0x3FFF];
}

inline void WriteByte(Memory& mem, uint16_t address, uint8_t value) {
    if (address >= 0x4000 || mem.paging.RomWritable) {
        mem.paging.window[address >> 14][address & 0x3FFF] = value;
    }
}

inline uint16_t ReadWord(const Memory& mem, uint16_t address) {
    return static_cast<uint16_t>(ReadByte(mem, address) |
                                 ReadByte(mem, static_cast<uint16_t>(address + 1)) << 8);
}

inline void WriteWord(Memory& mem, uint16_t address, uint16_t value) {
    WriteByte(mem, address, static_cast<uint8_t>(value));
    WriteByte(mem, static_cast<uint16_t>(address + 1), static_cast<uint8_t>(value >> 8));
}

// The storage location an address maps to now (also below 0x4000 when ROM is shown).
inline uint8_t* ByteAddress(Memory& mem, uint16_t address) {
    return &mem.paging.window[address >> 14][address & 0x3FFF];
}

// Recomputes the window pointers from the paging fields.
void MapWindows(Memory& mem);

// The paging ports and the TR-DOS ROM switch.
void WritePort7FFD(Memory& mem, uint8_t value);
void WritePort1FFD(Memory& mem, uint8_t value);

// Called at every unprefixed opcode fetch with the address of the opcode. The test of the
// high byte is inline; the switch itself happens rarely.
void SwitchTrdosRomSlow(Memory& mem, uint16_t pc);
inline void SwitchTrdosRom(Memory& mem, uint16_t pc) {
    if (!mem.trdosEnabled) return;
    if ((pc >> 8) == 0x3D ? !mem.paging.TrdosActive && (mem.paging.PagingLatch & 0x10)
                          : mem.paging.TrdosActive && pc >= 0x4000) {
        SwitchTrdosRomSlow(mem, pc);
    }
}

// Name of a memory model as the options show it.
const char* MemoryModelName(MemoryModel model);

} // namespace vespin
