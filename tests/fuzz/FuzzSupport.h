#pragma once

// What every fuzz target needs: a folder of its own for the files it writes,
// removed when the process ends, and standard output kept quiet, since the
// game's diagnostics for millions of bad inputs would only slow the search.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace fuzz {

// Silences std::cout (a stream without a buffer writes nothing); BV_FUZZ_VERBOSE=1
// keeps it, which is how a reproduced crash shows what the code said before it.
inline bool quietStandardOutput()
{
    const char* verbose = std::getenv("BV_FUZZ_VERBOSE");
    if (!verbose || std::string(verbose) != "1")
        std::cout.rdbuf(nullptr);
    return true;
}

// Before any input, in every target.
[[maybe_unused]] const bool quiet = quietStandardOutput();

// The process's folder under TMPDIR (or /tmp), made on first use and removed
// with its contents at exit (a crash leaves it behind, beside the crash
// input); "" when it could not be made.
inline const std::string& scratchFolder()
{
    static const struct Folder {
        std::string path;
        Folder()
        {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/bv-fuzz-XXXXXX";
            if (mkdtemp(&pattern[0]))
                path = pattern;
        }
        ~Folder()
        {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

// The file named name in the folder below the scratch folder, which the
// environment variable home is set to, as the game looks for it there
// (PlayScaffold/PlayScaffold.conf under XDG_CONFIG_HOME); aborts when it
// cannot be set up.
inline std::string scratchFile(const char* home, const std::string& folder, const std::string& name)
{
    const std::string& root = scratchFolder();
    if (root.empty() || mkdir((root + "/" + folder).c_str(), 0755) != 0 || setenv(home, root.c_str(), 1) != 0)
        std::abort();
    return root + "/" + folder + "/" + name;
}

// Writes the bytes to path, replacing what was there; aborts when it cannot.
inline void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
        std::abort();
}

} // namespace fuzz
