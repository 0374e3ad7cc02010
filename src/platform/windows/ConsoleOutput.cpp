// A program of the Windows subsystem starts with no standard handles unless
// its parent redirected them. Started from a terminal, it joins the
// terminal's console and writes there; a stream that already has a handle (a
// redirect, or the Unix output Wine hands over) keeps it.
#include "platform/ConsoleOutput.h"

#include <windows.h>

#include <cstdio>

namespace {

bool hasHandle(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void ConsoleOutput::attach()
{
    const bool output = hasHandle(STD_OUTPUT_HANDLE), error = hasHandle(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output && std::freopen("CONOUT$", "w", stdout))
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (!error)
        std::freopen("CONOUT$", "w", stderr);
}
