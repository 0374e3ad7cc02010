#pragma once

#include <string>

// Windows names files, variables and words in UTF-16; the game holds all
// text as UTF-8. Every call into Windows' wide functions goes through these.
// Bytes that are not UTF-8 (or lone UTF-16 halves) become U+FFFD rather
// than failing, so a bad name is reported instead of silently cut short.
class WideText {
public:
    WideText() = delete;

    static std::wstring fromUtf8(const std::string& text);
    static std::string toUtf8(const std::wstring& text);
    static std::string toUtf8(const wchar_t* text);
    // The system's message for an error code (GetLastError), without the
    // closing full stop and line end, as strerror gives it on POSIX.
    static std::string systemMessage(unsigned long error);
};
