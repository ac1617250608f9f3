// The logic of the "Beta128" tool window: the VG93 and system registers as two-digit
// hexadecimal values, each with a tooltip that decodes it. The window is refreshed with the
// debugger's panels and reads the controller without side effects.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/beta128.h"

namespace vespin {

// Value labels in the order the window shows them.
enum class Vg93Field : uint8_t { CR, STR, TR, SR, DR, SWR, SRD, HeadTrack, Count };

struct Vg93FieldText {
    std::string_view caption;
    std::string_view captionHint;
};

inline constexpr std::array<Vg93FieldText, static_cast<size_t>(Vg93Field::Count)> kVg93Fields = {{
    {"CR", "VG93 Command Register (Write #1F)"},
    {"STR", "VG93 Status Register (Read #1F)"},
    {"TR", "VG93 Track Register (Read/Write #3F)"},
    {"SR", "VG93 Sector Register (Read/Write #5F)"},
    {"DR", "VG93 Data Register (Read/Write #7F)"},
    {"SWR", "Beta128 System Register (Write #FF)"},
    {"SRD", "Beta128 System Register (Read #FF)"},
    {"TR", "Head on Track"},
}};

inline constexpr std::string_view kVg93Caption = "Beta128";
inline constexpr std::string_view kVg93GroupCaption = "VG93";
inline constexpr std::string_view kBetaGroupCaption = "Beta128";
inline constexpr std::string_view kDriveLabel = "Drive A";

// Tooltip decoders, lines separated by '\n'.
std::string NumberForms(uint8_t value);
std::string DecodeVg93Command(uint8_t command);
std::string DecodeVg93Status(uint8_t status, uint8_t command);
std::string DecodeBetaSystem(uint8_t system);
std::string DecodeBetaRequests(uint8_t requests);

class TVG93F {
  public:
    struct Label {
        std::string value = "00";
        std::string hint;
    };

    // Reads the controller (side-effect free) and rebuilds the labels.
    void Refresh(const Beta128& beta);

    const Label& Value(Vg93Field field) const { return labels_[static_cast<size_t>(field)]; }

    // Settings "Enabled", "X Position", "Y Position" of the window's group.
    bool enabled = false;
    int x = 0;
    int y = 0;

  private:
    std::array<Label, static_cast<size_t>(Vg93Field::Count)> labels_{};
    int decodedCommand_ = -1; // the command whose decoding the CR hint holds
};

} // namespace vespin
