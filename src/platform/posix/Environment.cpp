#include "platform/Environment.h"

#include <cstdlib>

std::string Environment::get(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value ? value : std::string();
}

bool Environment::isSet(const std::string& name)
{
    return std::getenv(name.c_str()) != nullptr;
}

bool Environment::isOn(const std::string& name)
{
    const std::string value = get(name);
    return !value.empty() && value != "0";
}

void Environment::setDefault(const std::string& name, const std::string& value)
{
    setenv(name.c_str(), value.c_str(), 0);
}

void Environment::set(const std::string& name, const std::string& value)
{
    setenv(name.c_str(), value.c_str(), 1);
}
