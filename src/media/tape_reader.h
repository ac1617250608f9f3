// The tape reader window's logic (`TTapeReader`): the tape image's location, the block list, the
// transport buttons and the 100 ms timer that follows the player. A toolkit widget forwards its
// events here and draws what the state below says.
//
// Opening an image replaces the data the player reads, so SetLocation (and everything that calls
// it: Eject, a change of block-information mode) runs only while the emulation thread is
// stopped. Play and Stop may be pressed at any time: they are requests that the emulation thread
// carries out at its next instruction, and the timer shows the result.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "debugger/block_selector.h"
#include "media/tape_image.h"
#include "media/tzx_messager.h"

namespace vespin {

struct MachineState;

inline constexpr const char* kTapeReaderCaption = "Tape Reader";
inline constexpr const char* kTapeFileFilter =
    "All Tape Format Files|*.Tap; *.Tzx; *.Wav|TAP File (*.Tap)|*.Tap|TZX Format Files "
    "(*.Tzx)|*.Tzx|WAV Format Files (*.Wav)|*.Wav";

// Enabled and shown states of the window's controls.
struct TapeReaderControls {
    bool playEnabled = false;
    bool playVisible = true;
    bool stopVisible = false;
    bool rewindEnabled = false;
    bool ejectEnabled = false;
    bool selectFileEnabled = true;
    bool locationEnabled = true;
    bool listEnabled = true;
};

// Values under "Environment\TapeReader" in the settings store.
struct TapeReaderSettings {
    std::string location;
    int blockInfoMode = 0;
    bool enabled = false;
    std::string fileName;
    std::string defaultDir;
    int x = 20, y = 20;
};

// Runs the block selector modally; the widget shows the dialog, a test picks an answer.
using BlockSelectorRunner = std::function<void(TBlockSelectorF&)>;

class TTapeReader {
  public:
    explicit TTapeReader(MachineState& m);

    // Reads the window's settings; a position saved on a larger desktop is pulled back to 20
    // from the edge it lies beyond.
    void ReadSettings(const TapeReaderSettings& s, int desktopWidth, int desktopHeight);
    TapeReaderSettings WriteSettings() const;
    // Showing and closing the window (closing only hides it).
    void Show() { other_.enabled = true; }
    void Close() { other_.enabled = false; }
    bool Shown() const { return other_.enabled; }
    int Left() const { return other_.x; }
    int Top() const { return other_.y; }

    // LocationEdit changed: reopens the image.
    void SetLocation(const std::string& location);
    void PlayButtonClick();
    void StopButtonClick();
    void RewindButtonClick();
    void EjectButtonClick();
    // The popup's "Block Info" items.
    void SetBlockInfoMode(BlockInfoMode mode);
    // A line of the block list was selected.
    void BlockListClick(int line);
    // The Down key in the block list; returns true when the key is consumed.
    bool BlockListDownKey();
    // Every 100 ms.
    void TimerTick(const BlockSelectorRunner& runSelector);

    const std::string& Location() const { return location_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool ListRed() const { return listRed_; }
    int SelectedLine() const { return selectedLine_; }
    const std::string& Caption() const { return caption_; }
    const TapeReaderControls& Controls() const { return controls_; }
    BlockInfoMode Mode() const { return mode_; }
    TTzxMessager& Messager() { return messager_; }
    const TTzxMessager& Messager() const { return messager_; }

  private:
    void ShowError(const std::string& message);
    int32_t CurrentBlock() const;
    void SetCurrentBlock(int32_t b);
    void SelectFirstLineOf(int32_t b);

    MachineState& m_;
    std::string location_;
    std::vector<std::string> lines_;
    bool listRed_ = true;
    int selectedLine_ = -1;
    std::string caption_ = kTapeReaderCaption;
    TapeReaderControls controls_;
    BlockInfoMode mode_ = BlockInfoMode::Hexadecimal;
    bool shownPlaying_ = false;
    int32_t shownBlock_ = 0;
    TTzxMessager messager_;
    TBlockSelectorF selector_;
    TapeReaderSettings other_; // the settings this logic only keeps
};

} // namespace vespin
