#include "shell/IntegerText.h"

#include <sstream>

bool readInteger(const std::string& text, int& value)
{
    std::istringstream stream(text);
    int read = 0;
    if (!(stream >> read))
        return false;
    value = read;
    return true;
}
