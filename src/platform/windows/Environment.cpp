// Windows keeps its variables in UTF-16; the narrow ones the C library keeps
// beside them are in the ANSI code page, which cannot hold every name (a
// user folder in CJK letters). The wide calls, then, and UTF-8 inside.
#include "platform/Environment.h"

#include "platform/windows/WideText.h"

#include <cstdlib>

std::string Environment::get(const std::string& name)
{
    return WideText::toUtf8(_wgetenv(WideText::fromUtf8(name).c_str()));
}

bool Environment::isSet(const std::string& name)
{
    return _wgetenv(WideText::fromUtf8(name).c_str()) != nullptr;
}

bool Environment::isOn(const std::string& name)
{
    const std::string value = get(name);
    return !value.empty() && value != "0";
}

void Environment::setDefault(const std::string& name, const std::string& value)
{
    if (!isSet(name))
        set(name, value);
}

// The C library updates its narrow copy too, which SDL reads with getenv.
// Windows cannot hold a variable set to nothing: an empty value removes it.
void Environment::set(const std::string& name, const std::string& value)
{
    _wputenv_s(WideText::fromUtf8(name).c_str(), WideText::fromUtf8(value).c_str());
}
