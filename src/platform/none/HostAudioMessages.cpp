// A system whose host audio libraries print nothing of their own while
// PortAudio probes them: nothing to quiet.
#include "platform/HostAudioMessages.h"

void HostAudioMessages::silence() {}
