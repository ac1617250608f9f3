// The command-line options of vespin-run, as tables of rows: one row per option with the
// handler that records it in the RunRequest. Each subsystem keeps its rows in a table of its
// own; the list of tables in run_options.cpp joins them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "run_request.h"

namespace vespin {

struct OptionRow {
    std::string_view name;     // "--frames"
    std::string_view argument; // what its value is called in the usage text; empty: no value
    std::string_view help;
    // Records the option; returns "" or what is wrong with the value ("needs ..."), which
    // the parser prefixes with the option's name.
    std::string (*handle)(RunRequest& request, std::string_view value);
};

// Tables of the individual subsystems.
std::span<const OptionRow> MachineOptionRows();
std::span<const OptionRow> OutputOptionRows();
std::span<const OptionRow> InputOptionRows();
std::span<const OptionRow> SnapshotOptionRows();
std::span<const OptionRow> DebuggerOptionRows();

// Fills request from argv[1..]; returns a usage error message or "".
std::string ParseCommandLine(std::span<const std::string_view> args, RunRequest& request);

// One line per option, for --help and usage errors.
std::string UsageText();

} // namespace vespin
