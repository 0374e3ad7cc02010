#include "TestSupport.h"

#include "TestPlatform.h"
#include "platform/Environment.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() : root(TestPlatform::makeTempFolder()) {}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(std::filesystem::u8path(root), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(std::filesystem::u8path(root), ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    const std::string file = root + "/" + name;
    std::ofstream out(std::filesystem::u8path(file), std::ios::binary);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + file);
    return file;
}

ScopedEnv::ScopedEnv(const std::string& name, const char* value) : name(name)
{
    if (Environment::isSet(name)) {
        hadValue = true;
        oldValue = Environment::get(name);
    }
    TestPlatform::setVariable(name, value);
}

ScopedEnv::~ScopedEnv()
{
    TestPlatform::setVariable(name, hadValue ? oldValue.c_str() : nullptr);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
