// What the SNA and Z80 readers share: the parsed snapshot held apart from the machine, applying
// it in one step, and the load procedure that picks the reader by the file's extension.
//
// Readers parse and validate a whole file into a SnapshotImage before anything of the machine
// changes, so a bad file leaves registers, paging and RAM exactly as they were.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/memory.h"
#include "core/z80_registers.h"
#include "media/file_utils.h"

namespace vespin {

struct MachineState;

// A bad snapshot file; what() is the text shown to the user.
class SnapshotError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The bank a page goes to; kPagedHighBank stands for whatever is paged at 0xC000 once the
// snapshot's paging latch is in place.
constexpr int8_t kPagedHighBank = -1;

struct SnapshotImage {
    Z80RegisterSet regs;           // everything but T and InterruptGate is taken
    uint8_t border = 0;            // 0-7
    bool machine48k = true;        // 48K: BASIC ROM, bank 0 at 0xC000, paging locked
    uint8_t pagingLatch = 0;       // the port 0x7FFD value of a 128K snapshot
    bool trdosActive = false;      // the TR-DOS ROM is paged in (128K SNA only)
    bool resetFrameClock = false;  // SNA: the frame starts again at T = 0
    bool popPc = false;            // 48K SNA: PC is on the stack, popped once the RAM is in
    std::vector<uint8_t> pages;    // 16 KB pages, in the order they are stored
    std::vector<int8_t> pageBanks; // the bank of each page, or kPagedHighBank

    std::span<uint8_t> AddPage(int8_t bank);
};

// Puts the snapshot into the machine: registers, border, paging, RAM. Cannot fail.
void ApplySnapshot(MachineState& m, const SnapshotImage& image);

// How the user is told about a failed load. The desktop program shows a message box; tests
// record the calls.
enum class MessageIcon : uint8_t { Stop, Exclamation, Information };

class MessageBoxHost {
  public:
    virtual ~MessageBoxHost() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
};

// The extension of a snapshot name as the loader compares it: from the last '.' after the last
// path separator ('/', '\\' or ':'), ASCII letters upper-cased, characters below 33 trimmed
// from both ends. Empty when there is no dot.
std::string SnapshotExtension(std::string_view fileName);

// Loads the named SNA or Z80 file into the machine. Failures are shown through messages and
// leave the machine unchanged. Returns true when the snapshot was loaded; the caller then runs
// the machine or refreshes the debugger, as the run choice says.
bool LoadSnapshotFile(MachineState& m, const FileSearchDirs& dirs, const std::string& fileName,
                      MessageBoxHost& messages);

} // namespace vespin
