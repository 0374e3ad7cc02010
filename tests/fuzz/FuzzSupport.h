#pragma once

// What every fuzz target needs: a folder of its own for the files it writes,
// removed when the process ends, and standard output kept quiet, since the
// game's diagnostics for millions of bad inputs would only slow the search.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>
#include <system_error>

namespace fuzz {

// Takes every character and keeps none.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Silences std::cout for the rest of the process; BV_FUZZ_VERBOSE=1 keeps it,
// which is how a reproduced crash shows what the code said before it.
inline void quietStandardOutput()
{
    static NullBuffer sink;
    const char* verbose = std::getenv("BV_FUZZ_VERBOSE");
    if (!verbose || std::string(verbose) != "1")
        std::cout.rdbuf(&sink);
}

// A folder under TMPDIR (or /tmp), removed with its contents at exit (a
// crash leaves it behind, beside the crash input).
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/bv-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]))
            path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path; // "" when it could not be made
};

// The process's scratch folder, made on first use.
inline const std::string& scratchFolder()
{
    static const ScratchFolder folder;
    return folder.path;
}

// Writes the bytes to path, replacing what was there; false when it cannot.
inline bool writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(data, 1, size, out) == size;
    return std::fclose(out) == 0 && written;
}

} // namespace fuzz
