// FILE arguments of vespin-run by extension. Tapes, snapshots and disks add their rows here.
#include <array>

#include "runner.h"

namespace vespin {

namespace {

constexpr std::array kFileOpeners{
    FileOpenerRow{".sna", OpenSnapshot},
    FileOpenerRow{".z80", OpenSnapshot},
};

} // namespace

std::span<const FileOpenerRow> FileOpenerRows() {
    return kFileOpeners;
}

} // namespace vespin
