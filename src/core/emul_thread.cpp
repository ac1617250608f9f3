#include "core/emul_thread.h"

#if defined(__linux__)
#include <pthread.h>
#endif

#include "core/machine.h"
#include "core/z80.h"

namespace vespin {

namespace {

// The name a debugger shows for this thread (Linux allows 15 characters).
void NameThisThread() {
#if defined(__linux__)
    pthread_setname_np(pthread_self(), "Emulator");
#endif
}

} // namespace

TEmulThread::TEmulThread(MachineState& m, EmulThreadHandlers handlers)
    : m_(m), handlers_(std::move(handlers)) {
    // Set before the thread exists, so a Stop right after construction is never lost.
    m_.threadRunning.store(1);
    m_.runFlag.store(1);
    thread_ = std::thread([this] { Body(); });
}

TEmulThread::~TEmulThread() {
    StopAndWait();
}

void TEmulThread::Stop() {
    m_.runFlag.store(0);
}

void TEmulThread::Wait() {
    if (thread_.joinable()) thread_.join();
}

void TEmulThread::Body() {
    NameThisThread();
    if (handlers_.onStart) handlers_.onStart();
    StartSound(m_);
    do {
        ExecuteInstruction(m_);
        const uint16_t stopAt = m_.runToAddress;
        if (stopAt != 0 && m_.regs.PC == stopAt) m_.runFlag.store(0);
        // While paused the executor returns at once; give the core to other threads.
        if (m_.pause.load(std::memory_order_relaxed) == 1) std::this_thread::yield();
    } while (m_.runFlag.load(std::memory_order_relaxed) != 0);
    StopSound(m_);
    if (handlers_.onEnd) handlers_.onEnd();
    m_.threadRunning.store(0);
}

} // namespace vespin
