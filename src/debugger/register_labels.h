// The CPU panel of the main window: 27 labels (registers, flags, T-state counter, T-state
// meter), each rewritten in place when its value changes and shown bold until a later refresh
// finds it unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/z80_registers.h"

namespace vespin {

enum class LabelKind : uint8_t {
    // 0-7: flag bit 7 - kind of F as "0" or "1".
    Word = 8,      // Hex4
    Decimal32 = 9, // DecShort; the text ends after the number
    Digit = 10,    // one hexadecimal digit
    Byte = 11,     // Hex2
    Meter = 12,    // the T-state meter
};

struct RegisterLabel {
    const char* control; // "CpuPC", ...
    std::string text;    // the template, rewritten in place
    uint8_t offset;
    uint8_t kind; // 0-7 flag bits, else a LabelKind
    uint32_t shadow = 0;
    bool highlighted = false;
};

// The meter as the label shows it after "TM=": T-states below one second of emulated time
// (tps = frame length x 50), else minutes, seconds and milliseconds.
std::string MeterText(uint32_t value, uint32_t tps);

class RegisterLabels {
  public:
    static constexpr size_t kCount = 27;
    RegisterLabels();

    // Compares every value with its shadow copy; changed labels get the new text and bold.
    void Update(const Z80RegisterSet& regs, uint32_t meterValue, int32_t frameLength);

    const RegisterLabel& operator[](size_t i) const { return labels_[i]; }
    // The label of a control, or nullptr.
    const RegisterLabel* Find(const std::string& control) const;

  private:
    std::array<RegisterLabel, kCount> labels_;
};

} // namespace vespin
