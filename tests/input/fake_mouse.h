// A host mouse for tests: hands out queued readings, fails reads while not acquired, and
// counts the calls.
#pragma once

#include <deque>

#include "input/mouse.h"

namespace vespin::test {

class FakeMouse : public IMouseDevice {
  public:
    uint32_t Acquire() override {
        ++acquireCalls;
        acquired = acquireResult == 0;
        return acquireResult;
    }
    void Unacquire() override { acquired = false; }
    bool Read(MouseReading& reading) override {
        ++readCalls;
        if (!acquired) return false;
        if (!readings.empty()) {
            reading = readings.front();
            readings.pop_front();
        } else {
            reading = {};
        }
        return true;
    }

    std::deque<MouseReading> readings;
    uint32_t acquireResult = 0;
    bool acquired = false;
    int acquireCalls = 0;
    int readCalls = 0;
};

} // namespace vespin::test
