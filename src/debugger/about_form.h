// TAboutForm, "About Vespin": the program's name and version, and the version history from
// "Vespin.History.txt" in a panel that "&Version History" shows and hides.
#pragma once

#include <string>

#include "media/file_utils.h"

namespace vespin {

class TAboutForm {
  public:
    static constexpr const char* kCaption = "About Vespin";
    static constexpr const char* kName = "Vespin for Windows";
    static constexpr const char* kVersion = "Version 0.27b";
    static constexpr const char* kHistoryFile = "Vespin.History.txt";
    static constexpr const char* kNoHistory =
        "Sorry! Can't found history file 'Vespin.History.txt'.";
    static constexpr int kHistoryHeight = 200;

    // Loads the history text, found by name, then in the start-up and program directories.
    TAboutForm(const FileSearchDirs& dirs, int firstHeight);

    const std::string& History() const { return history_; }
    int Height() const { return height_; }
    // "&Version History": shows or hides the panel below the visible area.
    void ToggleHistory();
    // "OK": an expanded window collapses before it closes.
    void Ok();

  private:
    std::string history_;
    int firstHeight_;
    int height_;
};

} // namespace vespin
