#include "debugger/vg93_window.h"

#include <cstdio>

namespace vespin {

namespace {

// By the command's upper four bits.
constexpr std::array<std::string_view, 16> kCommandNames = {
    "Restore",      "Seek",
    "Step",         "Step",
    "Step-in",      "Step-in",
    "Step-out",     "Step-out",
    "Read Sector",  "Read Sector",
    "Write Sector", "Write Sector",
    "Read Address", "Force Interrupt",
    "Read Track",   "Write Track",
};

constexpr std::array<std::string_view, 4> kStepRates = {"Step Rate = 6ms", "Step Rate = 12ms",
                                                        "Step Rate = 20ms", "Step Rate = 30ms"};

struct StatusBit {
    uint8_t mask;
    std::string_view typeI;  // commands below 0x80
    std::string_view typeII; // commands 0x80 and above
};

constexpr std::array<StatusBit, 8> kStatusBits = {{
    {0x80, "Drive Not Ready", "Drive Not Ready"},
    {0x40, "Write Protect", "Write Protect"},
    {0x20, "Head Loaded", "Deleted DAM"},
    {0x10, "Seek Error", "Record Not Found"},
    {0x08, "CRC Error", "CRC Error"},
    {0x04, "Head at Track 0", "Data Lost"},
    {0x02, "Index Mark Detected", "Data Request"},
    {0x01, "Command in Progress", "Command in Progress"},
}};

void AddLine(std::string& text, std::string_view line) {
    if (!text.empty()) text += '\n';
    text += line;
}

std::string Hex2(uint8_t v) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", v);
    return buf;
}

void AddSettleOption(std::string& text, uint8_t command) {
    if (command & 0x04) AddLine(text, "with 30ms Delay");
}

} // namespace

std::string NumberForms(uint8_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%02X=%u=%%", value, static_cast<unsigned>(value));
    std::string text = buf;
    for (int bit = 7; bit >= 0; --bit)
        text += (value >> bit) & 1 ? '1' : '0';
    if (value > 31) {
        text += "='";
        text += static_cast<char>(value);
        text += '\'';
    }
    return text;
}

std::string DecodeVg93Command(uint8_t command) {
    const int kind = command >> 4;
    std::string text(kCommandNames[static_cast<size_t>(kind)]);
    if (kind < 8) {
        if (kind >= 2 && (command & 0x10)) AddLine(text, "with Track Register Update");
        if (command & 0x08) AddLine(text, "with Head Loading");
        if (command & 0x04) AddLine(text, "with Track Verification");
        AddLine(text, kStepRates[command & 3]);
    } else if (kind < 0xC) {
        AddLine(text, (command & 0x10) ? "Multiple Records" : "Single Record");
        if (command & 0x02) AddLine(text, "Compare for Side");
        if (command & 0x01) AddLine(text, "with Deleted DAM");
        AddSettleOption(text, command);
    } else if (kind == 0xD) {
        if ((command & 0x0F) == 0) {
            AddLine(text, "Immediately without INTRQ");
        } else if (command & 0x08) {
            AddLine(text, "Immediately");
        } else {
            constexpr std::array<std::string_view, 3> kConditions = {
                "on Not Ready to Ready Transition", "on Ready to Not Ready Transition",
                "on Index Pulse"};
            bool first = true;
            for (size_t bit = 0; bit < kConditions.size(); ++bit) {
                if (!(command & (1u << bit))) continue;
                AddLine(text, std::string(first ? "" : "OR ") + std::string(kConditions[bit]));
                first = false;
            }
        }
    } else {
        AddSettleOption(text, command);
    }
    return text;
}

std::string DecodeVg93Status(uint8_t status, uint8_t command) {
    std::string text;
    for (const StatusBit& bit : kStatusBits) {
        if (status & bit.mask) AddLine(text, command >= 0x80 ? bit.typeII : bit.typeI);
    }
    return text;
}

std::string DecodeBetaSystem(uint8_t system) {
    std::string text;
    if (!(system & 0x04)) AddLine(text, "VG93 Reset");
    if (!(system & 0x08)) AddLine(text, "VG93 HLT Blocked");
    std::string drive = "Drive ";
    drive += static_cast<char>('A' + (system & 3));
    drive += ", Side ";
    drive += (system & 0x10) ? "1" : "0";
    drive += (system & 0x40) ? ", Single Density (FM)" : ", Double Density (MFM)";
    AddLine(text, drive);
    return text;
}

std::string DecodeBetaRequests(uint8_t requests) {
    std::string text;
    if (requests & 0x40) AddLine(text, "VG93 Data Request");
    if (requests & 0x80) AddLine(text, "VG93 Interrupt Request");
    return text.empty() ? "No Requests" : text;
}

void TVG93F::Refresh(const Beta128& beta) {
    const Vg93& c = beta.vg93;
    const uint8_t status = PeekVg93Status(beta);
    const uint8_t requests = Vg93PeekSystem(c);
    auto set = [&](Vg93Field field, uint8_t value, std::string hint) {
        Label& label = labels_[static_cast<size_t>(field)];
        label.value = Hex2(value);
        label.hint = std::move(hint);
    };
    Label& cr = labels_[static_cast<size_t>(Vg93Field::CR)];
    cr.value = Hex2(c.command);
    if (decodedCommand_ != c.command) {
        cr.hint = DecodeVg93Command(c.command);
        decodedCommand_ = c.command;
    }
    set(Vg93Field::STR, status, DecodeVg93Status(status, c.command));
    set(Vg93Field::TR, c.track, NumberForms(c.track));
    set(Vg93Field::SR, c.sector, NumberForms(c.sector));
    set(Vg93Field::DR, c.data, NumberForms(c.data));
    set(Vg93Field::SWR, c.system, DecodeBetaSystem(c.system));
    set(Vg93Field::SRD, requests, DecodeBetaRequests(requests));
    set(Vg93Field::HeadTrack, c.head, NumberForms(c.head));
}

} // namespace vespin
