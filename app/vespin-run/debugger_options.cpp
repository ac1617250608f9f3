// The debugger's options of vespin-run: --disasm ADDR:N prints N lines of the code panel.
#include <array>
#include <cstdint>

#include "core/machine.h"
#include "debugger/disassembler.h"
#include "run_options.h"

namespace vespin {

namespace {

// A code-panel line without the blanks that pad it to 32 columns.
std::string PanelLine(const MachineState& m, uint16_t& address) {
    std::string line = DisassembleLine(m.memory, address, false);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string AddDisasm(RunRequest& r, std::string_view v) {
    const auto range = ParseAddressCount(v);
    if (!range) {
        // The parser puts the option's name in front.
        std::string error("needs ADDR:N with ADDR up to 65535 and N up to 65536, not \"");
        error.append(v).push_back('"');
        return error;
    }
    r.outputs.push_back([range = *range](RunResult& result) {
        uint16_t address = range.address;
        for (uint32_t i = 0; i < range.count; ++i)
            result.out << PanelLine(result.machine, address) << "\n";
        return std::string();
    });
    return {};
}

constexpr std::array kDebuggerRows{
    OptionRow{"--disasm", "ADDR:N", "print N code-panel lines from ADDR", AddDisasm},
};

} // namespace

std::span<const OptionRow> DebuggerOptionRows() {
    return kDebuggerRows;
}

} // namespace vespin
