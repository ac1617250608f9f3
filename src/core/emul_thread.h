// The emulation thread: executes instructions while the run flag is set and stops by itself
// when PC reaches the run-to address. Pause, reset hold and synchronised speed are the
// machine's own flags, read by the executor and the frame end; this thread only loops.
#pragma once

#include <functional>
#include <thread>

namespace vespin {

struct MachineState;

struct EmulThreadHandlers {
    // On the emulation thread before the first instruction (the debugger marks its T-state
    // meter and leaves debugger mode, the key thread starts processing).
    std::function<void()> onStart;
    // On the emulation thread after the last instruction and StopSound, before threadRunning
    // drops to 0. A windowed host forwards it to its user-interface thread.
    std::function<void()> onEnd;
};

class TEmulThread {
  public:
    // Starts the thread at once. The caller makes sure no other thread runs the machine.
    TEmulThread(MachineState& m, EmulThreadHandlers handlers = {});
    // Stops the thread and waits for it.
    ~TEmulThread();
    TEmulThread(const TEmulThread&) = delete;
    TEmulThread& operator=(const TEmulThread&) = delete;

    // Clears the run flag: the thread ends after the instruction it is executing.
    void Stop();
    // Waits until the thread body, end handler included, has finished.
    void Wait();
    void StopAndWait() {
        Stop();
        Wait();
    }

  private:
    void Body();

    MachineState& m_;
    EmulThreadHandlers handlers_;
    std::thread thread_;
};

} // namespace vespin
