#include "run_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

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

namespace {

// A number in [low, high] for option name, or the usage error saying what was wrong.
std::string ParseInRange(std::string_view name, std::string_view text, uint32_t low, uint32_t high,
                         uint32_t& out) {
    const auto value = ParseNumber(text);
    if (!value || *value < low || *value > high) {
        return std::string(name) + " needs a number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not \"" + std::string(text) + "\"";
    }
    out = *value;
    return {};
}

constexpr std::array kMachineRows{
    OptionRow{"--rom48", "SPEC", "48K BASIC ROM, \"file[:page]\"",
              [](RunRequest& r, std::string_view v) {
                  r.roms.basic48 = v;
                  return std::string();
              }},
    OptionRow{"--rom128", "SPEC", "128K ROM, \"file[:page]\"",
              [](RunRequest& r, std::string_view v) {
                  r.roms.rom128 = v;
                  return std::string();
              }},
    OptionRow{"--romdos", "SPEC", "TR-DOS ROM, \"file[:page]\"",
              [](RunRequest& r, std::string_view v) {
                  r.roms.trdos = v;
                  return std::string();
              }},
    OptionRow{"--model", "N", "memory model 0..5",
              [](RunRequest& r, std::string_view v) {
                  uint32_t n = 0;
                  std::string error = ParseInRange("--model", v, 0, 5, n);
                  if (error.empty()) r.model = static_cast<int>(n);
                  return error;
              }},
    OptionRow{"--reset", "N", "reset kind 0..3 (default 2)",
              [](RunRequest& r, std::string_view v) {
                  uint32_t n = 0;
                  std::string error = ParseInRange("--reset", v, 0, 3, n);
                  if (error.empty()) r.resetKind = static_cast<int>(n);
                  return error;
              }},
    OptionRow{"--no-trdos", "", "Beta 128 interface disabled",
              [](RunRequest& r, std::string_view) {
                  r.trdos = false;
                  return std::string();
              }},
    OptionRow{"--frames", "N", "run N frames as fast as possible",
              [](RunRequest& r, std::string_view v) {
                  return ParseInRange("--frames", v, 0, UINT32_MAX, r.frames);
              }},
};

// Every subsystem's table; a new table is one more entry here.
std::array<std::span<const OptionRow>, 3> AllTables() {
    return {MachineOptionRows(), OutputOptionRows(), DebuggerOptionRows()};
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
        if (!row) return "unknown option " + std::string(arg);
        std::string_view value;
        if (!row->argument.empty()) {
            if (i + 1 >= args.size()) {
                return std::string(arg) + " needs " + std::string(row->argument);
            }
            value = args[++i];
        }
        std::string error = row->handle(request, value);
        if (!error.empty()) return error;
    }
    return {};
}

std::string UsageText() {
    std::string text = "usage: vespin-run [OPTIONS] [FILE]\n";
    for (std::span<const OptionRow> table : AllTables()) {
        for (const OptionRow& row : table) {
            std::string left = "  " + std::string(row.name);
            if (!row.argument.empty()) left += " " + std::string(row.argument);
            left.resize(std::max<size_t>(left.size() + 2, 24), ' ');
            text += left + std::string(row.help) + "\n";
        }
    }
    return text;
}

} // namespace vespin
