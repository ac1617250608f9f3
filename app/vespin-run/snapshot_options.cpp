// Snapshots in vespin-run: SNA and Z80 files given as FILE, and --save-sna.
#include <array>

#include "core/machine.h"
#include "media/sna.h"
#include "media/snapshot.h"
#include "run_options.h"
#include "runner.h"

namespace vespin {

namespace {

// Keeps the text of the message a failed load would show; the runner prints it.
class MessageToError : public MessageBoxHost {
  public:
    void ShowMessage(std::string_view text, std::string_view, MessageIcon) override {
        error = text;
    }
    bool AskYesNo(std::string_view, std::string_view, MessageIcon) override { return false; }
    std::string error;
};

std::string AddSaveSna(RunRequest& r, std::string_view v) {
    r.outputs.push_back([file = std::string(v)](RunResult& result) {
        if (SaveSna128(result.machine, file)) return std::string();
        return "Cannot write snapshot file \"" + file + "\"";
    });
    return {};
}

constexpr std::array kSnapshotRows{
    OptionRow{"--save-sna", "FILE", "save a 128K SNA snapshot after the run", AddSaveSna},
};

} // namespace

std::span<const OptionRow> SnapshotOptionRows() {
    return kSnapshotRows;
}

std::string OpenSnapshot(MachineState& m, const std::string& path) {
    MessageToError messages;
    if (!LoadSnapshotFile(m, FileSearchDirs::FromProcess(), path, messages)) return messages.error;
    // As after "Load && Debug": the picture shows the loaded screen before the first frame.
    RedrawFrame(m);
    return {};
}

} // namespace vespin
