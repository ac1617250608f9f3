// TZX 1.xx blocks: how far each body reaches and the lines that describe it. Blocks that carry
// no signal this system can play (direct recording, CSW, generalized data, call sequences, ...)
// make the whole file unsupported.
#include <array>
#include <cstdio>

#include "media/tape_image.h"
#include "media/tape_text.h"

namespace vespin {

namespace {

struct ArchiveLabel {
    uint8_t type;
    const char* label;
};
constexpr std::array<ArchiveLabel, 10> kArchiveLabels{{
    {0x00, "Full Title: "},
    {0x01, "Software House / Publisher: "},
    {0x02, "Author(s): "},
    {0x03, "Year of Publication: "},
    {0x04, "Language: "},
    {0x05, "Game/Utility Type: "},
    {0x06, "Price: "},
    {0x07, "Protection Scheme / Loader: "},
    {0x08, "Origin: "},
    {0xFF, "Comment(s): "},
}};

std::string ArchiveLabelOf(uint8_t type) {
    for (const ArchiveLabel& a : kArchiveLabels) {
        if (a.type == type) return a.label;
    }
    // The type number is decimal in every block-info mode.
    return "Unknown (ID " + std::to_string(type) + "): ";
}

// A text with a one-byte length before it.
std::string ShortText(TapeCursor& c) {
    const uint8_t n = c.U8();
    return TapeTextToUtf8(c.Bytes(n));
}

// Archive texts: a carriage return starts a new line without a label.
void AddArchiveText(std::string first, const std::string& text, std::vector<std::string>& lines) {
    size_t from = 0;
    for (;;) {
        const size_t cr = text.find('\r', from);
        first += text.substr(from, cr == std::string::npos ? std::string::npos : cr - from);
        lines.push_back(std::move(first));
        if (cr == std::string::npos) return;
        first.clear();
        from = cr + 1;
    }
}

std::string HardwareLine(uint8_t type, uint8_t id, uint8_t info, BlockInfoMode mode) {
    const bool numbers = mode != BlockInfoMode::None;
    std::string line = kBulletLine;
    if (type == 4) {
        if (id == 0) {
            line += "Kempston Joystick";
        } else if (id == 3) {
            line += "Right Sinclair Joystick";
        } else {
            line += "Unknown Joystick";
            if (numbers) line += ", ID " + TapeNumber(id, mode);
        }
    } else {
        line += "Unknown Hardware Type";
        if (numbers) line += ", ID " + TapeNumber(type, mode);
    }
    if (info == 1) {
        line += " used";
    } else if (numbers) {
        line += ", Nonstandard Value " + TapeNumber(info, mode);
    }
    return line;
}

// A signed block offset, widened to 32 bits and printed as unsigned (-1 is #FFFFFFFF).
std::string BlockOffset(int16_t offset, BlockInfoMode mode) {
    return TapeNumber(int64_t(uint32_t(int32_t(offset))), mode);
}

// Reads the body of the block whose ID was just read and appends its lines.
void DescribeTzxBlock(uint8_t id, TapeCursor& c, BlockInfoMode mode,
                      std::vector<std::string>& lines) {
    const bool numbers = mode != BlockInfoMode::None;
    switch (id) {
    case 0x10:
        c.Skip(2);
        lines.push_back(DescribeTapBlock(c, "", mode));
        return;
    case 0x11:
        c.Skip(15);
        lines.push_back(DescribeTapBlock(c, "Turbo ", mode));
        return;
    case 0x12:
        c.Skip(4);
        lines.push_back("Pure Tone");
        return;
    case 0x13:
        c.Skip(2 * uint64_t(c.U8()));
        lines.push_back("Sequence of pulses of different lengths");
        return;
    case 0x14:
        c.Skip(7);
        c.Skip(c.U24());
        lines.push_back("Pure data block");
        return;
    case 0x20: {
        const uint16_t ms = c.U16();
        lines.push_back(ms == 0 ? "Stop the Tape" : "Pause: " + std::to_string(ms) + "ms");
        return;
    }
    case 0x21: lines.push_back("Group of Blocks: " + ShortText(c)); return;
    case 0x22: lines.push_back("Group End"); return;
    case 0x23: {
        const int16_t offset = int16_t(c.U16());
        lines.push_back("Jump to Block " + (numbers ? BlockOffset(offset, mode) : ""));
        return;
    }
    case 0x24: {
        const uint16_t count = c.U16();
        lines.push_back("Loop Start" +
                        (numbers ? " (" + TapeNumber(count, mode) + " repetitions)" : ""));
        return;
    }
    case 0x25: lines.push_back("Loop End"); return;
    case 0x28: {
        c.Skip(2);
        const uint8_t n = c.U8();
        lines.push_back("Select Block:");
        for (int i = 0; i < n; ++i) {
            const int16_t offset = int16_t(c.U16());
            std::string line = kBulletLine + ShortText(c);
            if (numbers) line += " (Jump to Block " + BlockOffset(offset, mode) + ")";
            lines.push_back(std::move(line));
        }
        return;
    }
    case 0x2A:
        c.Skip(c.U32());
        lines.push_back("Stop Tape if in 48K Mode");
        return;
    case 0x30: lines.push_back("Text Description: " + ShortText(c)); return;
    case 0x31:
        c.Skip(1);
        lines.push_back("Message: " + ShortText(c));
        return;
    case 0x32: {
        c.Skip(2);
        const uint8_t n = c.U8();
        lines.push_back("Archive Info:");
        for (int i = 0; i < n; ++i) {
            const uint8_t type = c.U8();
            AddArchiveText(kBulletLine + ArchiveLabelOf(type), ShortText(c), lines);
        }
        return;
    }
    case 0x33: {
        const uint8_t n = c.U8();
        lines.push_back("Hardware Type:");
        for (int i = 0; i < n; ++i) {
            const uint8_t type = c.U8();
            const uint8_t hwId = c.U8();
            const uint8_t info = c.U8();
            lines.push_back(HardwareLine(type, hwId, info, mode));
        }
        return;
    }
    case 0x35: {
        const std::string ident = TapeTextToUtf8(c.Bytes(16));
        c.Skip(c.U32());
        lines.push_back("Custom Info: " + ident);
        return;
    }
    case 0x5A:
        c.Skip(9);
        lines.push_back("Start of Another TZX file");
        return;
    default: {
        char message[64];
        std::snprintf(message, sizeof message, "Error! TZX Block ID #%02X not supported yet!", id);
        throw TapeFormatError(message);
    }
    }
}

} // namespace

void ReadTzxBlocks(TapeCursor& c, BlockInfoMode mode, DescribedTape& out) {
    while (!c.AtEnd()) {
        BeginTapeBlock(c, out);
        const uint8_t id = c.U8();
        DescribeTzxBlock(id, c, mode, out.lines);
    }
}

TapeSelection ReadTzxSelection(const TapeImage& image, uint32_t offset) {
    TapeSelection s;
    try {
        TapeCursor c(image.data, offset + 3); // ID and the unused body length
        const uint8_t n = c.U8();
        for (int i = 0; i < n; ++i) {
            s.offsets.push_back(int16_t(c.U16()));
            s.texts.push_back(ShortText(c));
        }
    } catch (const TapeFormatError&) {
        // Checked when the image was opened; a stale offset yields what could be read.
        s.texts.resize(s.offsets.size());
    }
    return s;
}

TapeMessage ReadTzxMessage(const TapeImage& image, uint32_t offset) {
    TapeMessage msg;
    try {
        TapeCursor c(image.data, offset + 1);
        msg.seconds = c.U8();
        msg.text = ShortText(c);
    } catch (const TapeFormatError&) {
    }
    return msg;
}

} // namespace vespin
