#pragma once

// For programs that open and close an OpenGL window under LeakSanitizer: the
// drawing tests and the tools that paint through the real drawer.

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

// Mesa unloads its driver when the display closes; LeakSanitizer then finds
// the driver's own bookkeeping referenced only from an unloaded, unnamed
// module and reports it as a leak. Keeping the driver loaded for the rest of
// the process keeps that memory reachable, where it belongs.
inline void keepGlDriverLoaded()
{
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) -> int {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.size() > 7 && name.compare(name.size() - 7, 7, "_dri.so") == 0)
                static_cast<std::vector<std::string>*>(found)->push_back(name);
            return 0;
        },
        &drivers);
    for (const std::string& driver : drivers)
        dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}
