// SNA snapshots, read and written.
//
// A 27-byte register header, then the 48 KB at 0x4000-0xFFFF (banks 5, 2 and the bank paged at
// 0xC000). A 48K file keeps PC on the stack below SP. A 128K file adds PC, the port 0x7FFD latch,
// the TR-DOS flag and the other banks from 0 to 7, leaving out 2, 5 and the paged bank; when the
// paged bank is 2 or 5 it is stored twice, which makes the 147487-byte form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "media/snapshot.h"

namespace vespin {

struct MachineState;

constexpr size_t kSna48Size = 49179;
constexpr size_t kSna128Size = 131103;
constexpr size_t kSna128WithPagedBank2Or5Size = 147487;

// The main window's "Save Snapshot 48k" and "Save Snapshot 128k" write these, in the current
// directory, replacing an older file without asking.
constexpr const char* kSnapshot48FileName = "VespinSnap48.Sna";
constexpr const char* kSnapshot128FileName = "VespinSnap128.Sna";

// Parses a whole SNA file; throws SnapshotError on a file of any other size.
SnapshotImage ParseSna(std::span<const uint8_t> file);

// Parses and applies; the machine is unchanged when it throws.
void LoadSna(MachineState& m, std::span<const uint8_t> file);

// The file images of the machine as it is now. The machine is not changed.
std::vector<uint8_t> BuildSna48(const MachineState& m);
std::vector<uint8_t> BuildSna128(const MachineState& m);

// Write the snapshot through a temporary file renamed over the target, so a failed save never
// destroys an existing snapshot. Return false when the file could not be written.
bool SaveSna48(const MachineState& m, const std::filesystem::path& path);
bool SaveSna128(const MachineState& m, const std::filesystem::path& path);

} // namespace vespin
