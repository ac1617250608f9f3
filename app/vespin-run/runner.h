// Builds the machine a RunRequest describes, runs it headless and produces its outputs.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "run_request.h"

namespace vespin {

// FILE arguments are opened by extension; each subsystem adds its rows to the table in
// file_openers.cpp.
struct FileOpenerRow {
    std::string_view extension; // lower case with its dot: ".tap"
    std::string (*open)(MachineState& m, const std::string& path);
};
std::span<const FileOpenerRow> FileOpenerRows();

// Openers of the individual subsystems.
std::string OpenSnapshot(MachineState& m, const std::string& path);

// Runs the request; the outputs go to out. Returns "" or the load error to report (exit 1).
std::string RunMachine(const RunRequest& request, std::ostream& out);

} // namespace vespin
