// Options that print or write something after the run: --regs, --peek, --screenshot, --bench.
#include <array>
#include <cstdint>
#include <cstdio>

#include "core/machine.h"
#include "platform/png_writer.h"
#include "run_options.h"

namespace vespin {

namespace {

std::string RegsLine(const MachineState& m) {
    const Z80RegisterSet& r = m.regs;
    const std::array<std::pair<const char*, long long>, 21> fields{{
        {"pc", r.PC},
        {"sp", r.SP},
        {"af", r.AF()},
        {"bc", r.BC()},
        {"de", r.DE()},
        {"hl", r.HL()},
        {"ix", r.IX},
        {"iy", r.IY},
        {"af_", r.AF_},
        {"bc_", r.BC_},
        {"de_", r.DE_},
        {"hl_", r.HL_},
        {"i", r.I},
        {"r", r.VisibleR()},
        {"im", r.IM},
        {"iff1", r.IFF1},
        {"iff2", r.IFF2},
        {"t", r.T},
        {"frames", m.frameCounter.load()},
        {"latch", m.memory.paging.PagingLatch},
        {"border", m.screen.borderColour},
    }};
    std::string line = "{";
    for (const auto& [key, value] : fields) {
        if (line.size() > 1) line += ",";
        line.append("\"").append(key).append("\":").append(std::to_string(value));
    }
    line.push_back('}');
    return line;
}

std::string PeekLine(const MachineState& m, uint32_t address, uint32_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(2 * length);
    for (uint32_t i = 0; i < length; ++i) {
        const uint8_t b = ReadByte(m, static_cast<uint16_t>(address + i));
        line += kDigits[b >> 4];
        line += kDigits[b & 15];
    }
    return line;
}

std::string AddRegs(RunRequest& r, std::string_view) {
    r.outputs.push_back([](RunResult& result) {
        result.out << RegsLine(result.machine) << "\n";
        return std::string();
    });
    return {};
}

std::string AddPeek(RunRequest& r, std::string_view v) {
    const auto range = ParseAddressCount(v);
    if (!range) {
        std::string error("needs ADDR:LEN with ADDR up to 65535 and LEN up to 65536, not \"");
        error.append(v).push_back('"');
        return error;
    }
    r.outputs.push_back([range = *range](RunResult& result) {
        result.out << PeekLine(result.machine, range.address, range.count) << "\n";
        return std::string();
    });
    return {};
}

std::string AddScreenshot(RunRequest& r, std::string_view v) {
    r.outputs.push_back([file = std::string(v)](RunResult& result) {
        const ScreenState& s = result.machine.screen;
        return WritePalettePng(file, kFrameWidth, kFrameHeight, s.bitmap, s.palette);
    });
    return {};
}

std::string AddBench(RunRequest& r, std::string_view) {
    r.outputs.push_back([](RunResult& result) {
        const double fps = result.hostSeconds > 0 ? result.framesRun / result.hostSeconds : 0.0;
        char text[64];
        std::snprintf(text, sizeof text, "fps=%.1f", fps);
        result.out << text << "\n";
        return std::string();
    });
    return {};
}

constexpr std::array kOutputRows{
    OptionRow{"--regs", "", "print the registers as one JSON line", AddRegs},
    OptionRow{"--peek", "ADDR:LEN", "print LEN bytes from ADDR in hexadecimal", AddPeek},
    OptionRow{"--screenshot", "FILE", "write the 384 x 288 frame bitmap as a PNG", AddScreenshot},
    OptionRow{"--bench", "", "print fps=<emulated frames per host second>", AddBench},
};

} // namespace

std::span<const OptionRow> OutputOptionRows() {
    return kOutputRows;
}

} // namespace vespin
