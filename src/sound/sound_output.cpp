#include "sound/sound_output.h"

#include "core/machine.h"

namespace vespin {

void SpeakerPortWrite(MachineState&, uint8_t) {}
void SetTapeInputLevel(MachineState&, bool) {}

} // namespace vespin
