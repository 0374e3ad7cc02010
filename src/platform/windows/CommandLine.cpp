// The argv a Windows C library hands to main is in the ANSI code page, which
// turns a word in letters beyond it into question marks; the wide command
// line the process was started with has every word as typed.
#include "platform/CommandLine.h"

#include "platform/windows/WideText.h"

#include <windows.h>
#include <shellapi.h>

std::vector<std::string> CommandLine::words(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i)
        words.push_back(WideText::toUtf8(wide[i]));
    LocalFree(wide);
    return words;
}
