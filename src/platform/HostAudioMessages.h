#pragma once

// The host audio libraries under PortAudio print their own complaints to
// standard error while PortAudio probes every host system it knows (a
// device that cannot be opened, a server that is not running), in words the
// player cannot act on. Quieting them fails silently: a library that is not
// there, or offers no way to replace its printer, is left as it is.
class HostAudioMessages {
public:
    HostAudioMessages() = delete;

    // Before PortAudio is initialised; may be called again.
    static void silence();
};
