#include "VellumDrawingLib/DriverAbilities.h"

#include <GL/glew.h>

#include <cstring>

void DriverAbilities::read()
{
    readVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
}

void DriverAbilities::readVersion(const char* version)
{
    // OpenGL ES names itself at the start of the string; desktop OpenGL
    // starts with its version number.
    static const char prefix[] = "OpenGL ES";
    embedded = version && std::strncmp(version, prefix, sizeof prefix - 1) == 0;
}
