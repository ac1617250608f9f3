#include "media/tape_player.h"

#include "core/machine.h"

namespace vespin {

void TapeTick(MachineState&, int32_t) {}

void TapePlayButtonClick(MachineState&) {}

} // namespace vespin
