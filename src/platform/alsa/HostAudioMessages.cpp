// ALSA prints a complaint for each device it cannot open and JACK one for
// the server it cannot reach. Both libraries let a program replace their
// printer; JACK's is looked up at run time so that the game does not depend
// on JACK being installed.
#include "platform/HostAudioMessages.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <initializer_list>

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
void ignoreJackMessage(const char*) {}

} // namespace

void HostAudioMessages::silence()
{
    snd_lib_error_set_handler(&ignoreAlsaMessage);
    void* jack = dlopen("libjack.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (!jack)
        return;
    using MessageSetter = void (*)(void (*)(const char*));
    for (const char* setter : {"jack_set_error_function", "jack_set_info_function"}) {
        auto set = reinterpret_cast<MessageSetter>(dlsym(jack, setter));
        if (set)
            set(&ignoreJackMessage);
    }
    dlclose(jack);
}
