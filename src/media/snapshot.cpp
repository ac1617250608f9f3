#include "media/snapshot.h"

#include <algorithm>
#include <cstring>

#include "core/machine.h"
#include "media/sna.h"
#include "media/z80_snapshot.h"

namespace vespin {

std::span<uint8_t> SnapshotImage::AddPage(int8_t bank) {
    pageBanks.push_back(bank);
    pages.resize(pages.size() + kPageSize);
    return std::span<uint8_t>(pages).last(kPageSize);
}

namespace {

// The 48K paging: bank 0 at 0xC000, the 48K BASIC ROM, and bit 5 locking the port until reset.
// On the Pentagon 1024k bit 5 is a bank bit (0x30 would put bank 8 at 0xC000 and hide the
// snapshot's upper 16 KB), and that model has no lock to set anyway.
uint8_t Latch48k(const Memory& mem) {
    return mem.model == MemoryModel::Pentagon1024 ? 0x10 : 0x30;
}

} // namespace

void ApplySnapshot(MachineState& m, const SnapshotImage& image) {
    // The border drawn so far this frame keeps its old colour; the whole border is repainted at
    // the next two frame ends.
    SetBorderColour(m, image.border);
    m.borderHistory = 3;
    // A 48K SNA saved next takes its border from the last port 0xFE value.
    m.lastKeyboardPort = static_cast<uint8_t>((m.lastKeyboardPort & ~7) | image.border);

    Z80RegisterSet& r = m.regs;
    const int32_t t = r.T;
    r = image.regs;
    // The snapshot's IFF1 alone decides whether the interrupt at the start of a frame is taken.
    r.InterruptGate = 1;
    r.T = t;
    if (image.resetFrameClock) {
        // A new frame starts: the beams go back to its start with the clock.
        r.T = 0;
        ResetBorderBeam(m.screen);
        ResetPaperBeam(m.screen);
    }

    // Clearing the latch first lifts a 48K lock, so the snapshot's paging always takes effect.
    // The TR-DOS ROM comes in only when a 128K SNA says it was in.
    PagingState& p = m.memory.paging;
    p.TrdosActive = 0;
    p.PagingLatch = 0;
    WritePort7FFD(m.memory, image.machine48k ? Latch48k(m.memory) : image.pagingLatch);
    if (image.trdosActive && m.memory.trdosEnabled) {
        p.TrdosActive = 1;
        p.Low = LowSource::Trdos;
        MapWindows(m.memory);
    }

    for (size_t i = 0; i < image.pageBanks.size(); ++i) {
        const int8_t bank = image.pageBanks[i];
        uint8_t* dst = bank == kPagedHighBank ? p.window[3] : m.memory.Bank(bank);
        std::memcpy(dst, image.pages.data() + i * kPageSize, kPageSize);
    }

    if (image.popPc) {
        r.PC = ReadWord(m, r.SP);
        r.SP = static_cast<uint16_t>(r.SP + 2);
    }
}

std::string SnapshotExtension(std::string_view fileName) {
    const size_t separator = fileName.find_last_of("/\\:");
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator))
        return {};
    std::string_view ext = fileName.substr(dot);
    while (!ext.empty() && static_cast<unsigned char>(ext.front()) < 33)
        ext.remove_prefix(1);
    while (!ext.empty() && static_cast<unsigned char>(ext.back()) < 33)
        ext.remove_suffix(1);
    std::string upper(ext);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return upper;
}

bool LoadSnapshotFile(MachineState& m, const FileSearchDirs& dirs, const std::string& fileName,
                      MessageBoxHost& messages) {
    const auto path = LocateFile(dirs, fileName);
    const auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
    if (!bytes) {
        messages.ShowMessage("Can't load snapshot file.", "Error!", MessageIcon::Stop);
        return false;
    }
    try {
        const std::string ext = SnapshotExtension(fileName);
        SnapshotImage image;
        if (ext == ".SNA") {
            image = ParseSna(*bytes);
        } else if (ext == ".Z80") {
            image = ParseZ80(*bytes);
        } else {
            throw SnapshotError("File " + fileName + " has unsupported format!");
        }
        ApplySnapshot(m, image);
        return true;
    } catch (const SnapshotError& e) {
        messages.ShowMessage(e.what(), "  Snapshot loading error!", MessageIcon::Stop);
        return false;
    }
}

} // namespace vespin
