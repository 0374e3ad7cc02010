#include "FatalError.h"

#include <iostream>

void FatalError::display() const
{
    std::cout << message << std::endl;
}
