// Z80 snapshots, versions 1, 2 and 3, 48K and 128K, read only.
//
// Version 1 has a 30-byte header and the 48 KB at 0x4000-0xFFFF, plain or run-length coded.
// Versions 2 and 3 mark themselves with PC = 0 and carry an additional header (its length at
// offset 30: 23 for version 2, more for version 3) followed by 16 KB memory blocks, each with
// a length, a page number and the data: coded, or plain when the length is 0xFFFF.
//
// Decisions where the format leaves room:
// - a header cut short, a block header cut short, or data ending inside a block gives
//   "Invalid Z80 snapshot file!"; nothing is ever read past the file;
// - a coded block is decoded from its own bytes only, and the next block starts after the
//   number of bytes its length gives;
// - blocks of pages this machine has no place for (ROM or interface pages) are skipped by
//   their length, and a bank missing from the file keeps what the machine's RAM held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "media/snapshot.h"

namespace vespin {

struct MachineState;

// Decodes the Z80 run-length coding from in[pos...] until out is full, advancing pos. The coding:
// ED ED n v is n copies of v (n = 0 produces nothing); any other byte stands for itself; a lone
// ED is followed by a plain byte, except as the last byte of the block. Throws SnapshotError
// "Invalid Z80 snapshot file!" when a run goes past the end of out (after storing what fits) or
// when the input ends first.
void UnpackZ80Block(std::span<const uint8_t> in, size_t& pos, std::span<uint8_t> out);

// Parses a whole Z80 file; throws SnapshotError on a bad file.
SnapshotImage ParseZ80(std::span<const uint8_t> file);

// Parses and applies; the machine is unchanged when it throws.
void LoadZ80(MachineState& m, std::span<const uint8_t> file);

} // namespace vespin
