// Requests from the key thread to the windows, and the few window states the key thread needs.
// The key thread never touches a window: it sets a request flag, and the main window's idle
// handler picks it up and clears it (exchange(0)).
#pragma once

#include <atomic>
#include <cstdint>

namespace vespin {

struct WindowRequests {
    std::atomic<uint8_t> loadDiskImage{0};   // "Load &Disk Image..."
    std::atomic<uint8_t> loadSnapshot{0};    // "Load &Snapshot..."
    std::atomic<uint8_t> tapeReaderPanel{0}; // "&Tape Reader Panel"
    std::atomic<uint8_t> toggleFullScreen{0};
    std::atomic<uint8_t> leaveFullScreen{0};
    std::atomic<uint8_t> toggleShowFps{0};
    std::atomic<uint8_t> mainWindowToFront{0};
    std::atomic<uint8_t> closeProgram{0};

    // Kept up to date by the screen window.
    std::atomic<uint8_t> fullScreen{0};
    std::atomic<uint8_t> popupMenuOpen{0}; // Escape closes the pop-up menu and does nothing else
};

} // namespace vespin
