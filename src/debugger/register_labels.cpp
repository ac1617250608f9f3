#include "debugger/register_labels.h"

#include "debugger/number_format.h"

namespace vespin {

namespace {

constexpr uint8_t kFlag(int bitFromTop) {
    return static_cast<uint8_t>(bitFromTop);
}
constexpr uint8_t kWord = static_cast<uint8_t>(LabelKind::Word);
constexpr uint8_t kDecimal32 = static_cast<uint8_t>(LabelKind::Decimal32);
constexpr uint8_t kDigit = static_cast<uint8_t>(LabelKind::Digit);
constexpr uint8_t kByte = static_cast<uint8_t>(LabelKind::Byte);
constexpr uint8_t kMeter = static_cast<uint8_t>(LabelKind::Meter);

struct LabelDefinition {
    const char* control;
    const char* text;
    uint8_t offset;
    uint8_t kind;
    uint32_t (*value)(const Z80RegisterSet&, uint32_t meter);
};

using R = const Z80RegisterSet&;

const std::array<LabelDefinition, RegisterLabels::kCount> kLabels{{
    {"CpuPC", "PC 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.PC; }},
    {"CpuSP", "SP 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.SP; }},
    {"CpuAF", "AF 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.AF(); }},
    {"CpuFA", "AF'0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.AF_; }},
    {"CpuBC", "BC 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.BC(); }},
    {"CpuCB", "BC'0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.BC_; }},
    {"CpuDE", "DE 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.DE(); }},
    {"CpuED", "DE'0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.DE_; }},
    {"CpuHL", "HL 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.HL(); }},
    {"CpuLH", "HL'0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.HL_; }},
    {"CpuIX", "IX 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.IX; }},
    {"CpuIY", "IY 0000", 3, kWord, [](R r, uint32_t) -> uint32_t { return r.IY; }},
    {"CpuTackts", "T=000000", 2, kDecimal32,
     [](R r, uint32_t) { return static_cast<uint32_t>(r.T); }},
    {"CpuIFF1", "IFF1=0", 5, kDigit, [](R r, uint32_t) -> uint32_t { return r.IFF1; }},
    {"CpuIFF2", "IFF2=0", 5, kDigit, [](R r, uint32_t) -> uint32_t { return r.IFF2; }},
    {"CpuI", "I 00", 2, kByte, [](R r, uint32_t) -> uint32_t { return r.I; }},
    {"CpuR", "R 00", 2, kByte, [](R r, uint32_t) -> uint32_t { return r.VisibleR(); }},
    {"CpuIM", "IM=0", 3, kDigit, [](R r, uint32_t) -> uint32_t { return r.IM; }},
    {"CpuS", "S=0", 2, kFlag(0), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"CpuZ", "Z=0", 2, kFlag(1), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"Cpu5", "5=0", 2, kFlag(2), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"CpuH", "H=0", 2, kFlag(3), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"Cpu3", "3=0", 2, kFlag(4), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"CpuP", "P=0", 2, kFlag(5), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"CpuN", "N=0", 2, kFlag(6), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"CpuC", "C=0", 2, kFlag(7), [](R r, uint32_t) -> uint32_t { return r.F; }},
    {"TacktsMeter", "TM=000000000", 3, kMeter, [](R, uint32_t meter) { return meter; }},
}};

// The value a label compares and shows: a flag label looks at its bit only.
uint32_t LabelValue(const LabelDefinition& d, const Z80RegisterSet& regs, uint32_t meter) {
    const uint32_t v = d.value(regs, meter);
    return d.kind < 8 ? (v >> (7 - d.kind)) & 1 : v;
}

std::string ValueText(uint8_t kind, uint32_t v, int32_t frameLength) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    switch (kind) {
    case kWord: return Hex4(static_cast<uint16_t>(v));
    case kDecimal32: return DecShort(v);
    case kDigit: return std::string(1, kDigits[v & 15]);
    case kByte: return Hex2(static_cast<uint8_t>(v));
    case kMeter: return MeterText(v, static_cast<uint32_t>(frameLength) * 50);
    default: return v ? "1" : "0";
    }
}

} // namespace

std::string MeterText(uint32_t value, uint32_t tps) {
    if (tps == 0 || value < tps) return DecShort(value);
    uint32_t seconds = value / tps;
    const auto ms = static_cast<uint32_t>(uint64_t{value % tps} * 1000 / tps);
    const uint32_t minutes = seconds / 60;
    seconds %= 60;
    std::string text = "TM="; // counted while deciding on the third millisecond digit
    if (minutes != 0) text += DecShort(minutes) + "m";
    if (seconds != 0) text += DecShort(seconds) + ".";
    std::string millis = std::to_string(1000 + ms).substr(1); // three digits
    if (text.size() >= 8) millis.pop_back();
    return text.substr(3) + millis + "s";
}

RegisterLabels::RegisterLabels() {
    for (size_t i = 0; i < kCount; ++i) {
        labels_[i] = {kLabels[i].control, kLabels[i].text, kLabels[i].offset, kLabels[i].kind};
    }
}

void RegisterLabels::Update(const Z80RegisterSet& regs, uint32_t meterValue, int32_t frameLength) {
    for (size_t i = 0; i < kCount; ++i) {
        RegisterLabel& label = labels_[i];
        const uint32_t v = LabelValue(kLabels[i], regs, meterValue);
        const bool changed = v != label.shadow;
        label.shadow = v;
        if (changed) {
            const std::string digits = ValueText(label.kind, v, frameLength);
            if (label.kind == kDecimal32 || label.kind == kMeter) {
                label.text.resize(label.offset); // these texts end after the number
            }
            label.text.replace(label.offset, digits.size(), digits);
            label.highlighted = true;
        } else {
            label.highlighted = false;
        }
    }
}

const RegisterLabel* RegisterLabels::Find(const std::string& control) const {
    for (const RegisterLabel& label : labels_) {
        if (control == label.control) return &label;
    }
    return nullptr;
}

} // namespace vespin
