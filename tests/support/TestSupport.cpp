#include "TestSupport.h"

#include "TestPlatform.h"
#include "platform/Environment.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::random_device random;
    for (int attempt = 0; attempt < 100 && root.empty(); ++attempt) {
        const fs::path folder = fs::temp_directory_path() / ("bv-test-" + std::to_string(random()));
        std::error_code taken;
        if (fs::create_directory(folder, taken))
            root = folder.u8string();
    }
    if (root.empty())
        throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::permissions(fs::u8path(root), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(fs::u8path(root), ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    const std::string file = root + "/" + name;
    fs::create_directories(fs::u8path(file).parent_path());
    std::ofstream out(fs::u8path(file), std::ios::binary);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + file);
    return file;
}

ScopedEnv::ScopedEnv(const std::string& name, const char* value)
    : name(name), hadValue(Environment::isSet(name)), oldValue(Environment::get(name))
{
    TestPlatform::setVariable(name, value);
}

ScopedEnv::~ScopedEnv()
{
    TestPlatform::setVariable(name, hadValue ? oldValue.c_str() : nullptr);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> snapshot(const std::string& folder)
{
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(fs::u8path(folder))) {
        const fs::file_status status = entry.symlink_status();
        std::string seen = entry.path().u8string() + " " + std::to_string(static_cast<int>(status.type())) + " " +
                           std::to_string(static_cast<int>(status.permissions()));
        if (fs::is_regular_file(status))
            seen += " " + std::to_string(entry.file_size());
        if (fs::is_symlink(status))
            seen += " to " + fs::read_symlink(entry.path()).u8string();
        found.push_back(seen);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<NoFileEntry> entriesThatAreNoFile(std::uintmax_t bound)
{
    std::vector<NoFileEntry> entries = {
        {"folder", [](const std::string& path) { return fs::create_directory(fs::u8path(path)); },
         "is a folder, not a file", "is a folder, not a file"},
        // Sparse where the file system allows: the size is there without the bytes.
        {"oversized",
         [bound](const std::string& path) {
             std::error_code error;
             std::ofstream(fs::u8path(path)).close();
             fs::resize_file(fs::u8path(path), bound + 1, error);
             return !error;
         },
         "is " + std::to_string(bound + 1) + " bytes, more than the " + std::to_string(bound) + " it may hold", ""},
        {"missing", [](const std::string&) { return true; }, "does not exist", ""},
    };
    for (NoFileEntry& entry : TestPlatform::entriesThatAreNoFile())
        entries.push_back(std::move(entry));
    return entries;
}
