#include "platform/WorkingDirectory.h"

#include "platform/windows/WideText.h"

#include <windows.h>

std::string WorkingDirectory::enter(const std::string& folder)
{
    return SetCurrentDirectoryW(WideText::fromUtf8(folder).c_str())
               ? std::string()
               : WideText::systemMessage(GetLastError());
}
