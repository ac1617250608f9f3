#include "run_options.h"

#include "core/memory.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace vespin {

std::optional<uint32_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with("#")) {
        text.remove_prefix(1);
        base = 16;
    }
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<AddressCount> ParseAddressCount(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto address = ParseNumber(text.substr(0, colon));
    const auto count = ParseNumber(text.substr(colon + 1));
    if (!address || !count || *address > 0xFFFF || *count > 0x10000) return std::nullopt;
    return AddressCount{static_cast<uint16_t>(*address), *count};
}

namespace {

// Pieces of a message joined (one append each).
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts)
        text.append(part);
    return text;
}

uint8_t SlotBit(RomSlot slot) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(slot));
}

// A number in [low, high] stored in a field of the request, of whatever integer type.
template <auto field, uint32_t low, uint32_t high>
std::string SetNumber(RunRequest& r, std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high) {
        return Join({"needs a number from ", std::to_string(low), " to ", std::to_string(high),
                     ", not \"", text, "\""});
    }
    using Field = std::remove_cvref_t<decltype(r.*field)>;
    r.*field = static_cast<Field>(*value);
    return {};
}

// A ROM setting given on the command line, for its slot.
template <RomSlot slot> std::string SetRom(RunRequest& r, std::string_view setting) {
    constexpr std::array<std::string RomSettings::*, 3> kFields{
        &RomSettings::basic48, &RomSettings::rom128, &RomSettings::trdos};
    r.roms.*kFields[static_cast<size_t>(slot)] = setting;
    r.romsGiven |= SlotBit(slot);
    return {};
}

constexpr std::array kMachineRows{
    OptionRow{"--settings", "FILE", "read the settings from FILE (never written)",
              [](RunRequest& r, std::string_view path) {
                  r.settingsPath = path;
                  return std::string();
              }},
    OptionRow{"--rom48", "FILE[:N]", "48K BASIC ROM, \"file[:page]\"", SetRom<RomSlot::Basic48>},
    OptionRow{"--rom128", "FILE[:N]", "128K ROM, \"file[:page]\"", SetRom<RomSlot::Rom128>},
    OptionRow{"--romdos", "FILE[:N]", "TR-DOS ROM, \"file[:page]\"", SetRom<RomSlot::Trdos>},
    OptionRow{"--model", "N", "memory model 0..5", SetNumber<&RunRequest::model, 0, 5>},
    OptionRow{"--reset", "N", "reset kind 0..3 (default 2)",
              SetNumber<&RunRequest::resetKind, 0, 3>},
    OptionRow{"--no-trdos", "", "Beta 128 interface disabled",
              [](RunRequest& r, std::string_view) {
                  r.trdos = false;
                  return std::string();
              }},
    OptionRow{"--frames", "N", "run N frames as fast as possible",
              SetNumber<&RunRequest::frames, 0, UINT32_MAX>},
};

// Every subsystem's table; a new table is one more entry here.
std::array<std::span<const OptionRow>, 5> AllTables() {
    return {MachineOptionRows(), InputOptionRows(), OutputOptionRows(), SnapshotOptionRows(),
            DebuggerOptionRows()};
}

const OptionRow* FindOption(std::string_view name) {
    for (std::span<const OptionRow> table : AllTables()) {
        for (const OptionRow& row : table) {
            if (row.name == name) return &row;
        }
    }
    return nullptr;
}

} // namespace

std::span<const OptionRow> MachineOptionRows() {
    return kMachineRows;
}

std::string ParseCommandLine(std::span<const std::string_view> args, RunRequest& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!arg.starts_with("--")) {
            if (!request.file.empty()) return "only one FILE may be given";
            request.file = arg;
            continue;
        }
        const OptionRow* row = FindOption(arg);
        if (!row) return Join({"unknown option ", arg});
        std::string_view value;
        if (!row->argument.empty()) {
            if (i + 1 >= args.size()) {
                return Join({arg, " needs ", row->argument});
            }
            value = args[++i];
        }
        std::string error = row->handle(request, value);
        if (!error.empty()) return Join({arg, " ", error});
    }
    return {};
}

std::string UsageText() {
    std::string text = "usage: vespin-run [OPTIONS] [FILE]\n";
    for (std::span<const OptionRow> table : AllTables()) {
        for (const OptionRow& row : table) {
            std::string left =
                Join({"  ", row.name, row.argument.empty() ? "" : " ", row.argument});
            left.resize(std::max<size_t>(left.size() + 2, 24), ' ');
            text.append(left).append(row.help).append("\n");
        }
    }
    return text;
}

} // namespace vespin
