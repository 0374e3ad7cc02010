#include "VellumDrawingLib/ContextObjects.h"

#include <GL/glew.h>

#include <cstddef>

void ContextObjects::copyOut(const std::vector<unsigned int*>& textureNames)
{
    textures.clear();
    for (unsigned int* name : textureNames) {
        if (*name == 0)
            continue;
        TextureCopy& copy = textures[*name];
        copy.holders.push_back(name);
        if (copy.pixels)
            continue;
        glBindTexture(GL_TEXTURE_2D, *name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &copy.width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &copy.height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT,
                                 &copy.internalFormat);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &copy.minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &copy.magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &copy.wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &copy.wrapT);
        copy.pixels.reset(
            new unsigned char[static_cast<std::size_t>(copy.width) * copy.height * 4]());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, copy.pixels.get());
    }
    glGenTextures(1, &marker);
    glBindTexture(GL_TEXTURE_2D, marker);
    glBindTexture(GL_TEXTURE_2D, 0);
}

bool ContextObjects::contextKept() const
{
    return marker != 0 && glIsTexture(marker) == GL_TRUE;
}

void ContextObjects::copyBack()
{
    const bool kept = contextKept();
    if (kept)
        glDeleteTextures(1, &marker);
    marker = 0;
    for (auto& [oldName, copy] : textures) {
        if (kept)
            glDeleteTextures(1, &oldName);
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, copy.internalFormat, copy.width, copy.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, copy.pixels.get());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, copy.minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, copy.magFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, copy.wrapS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, copy.wrapT);
        for (unsigned int* holder : copy.holders)
            *holder = name;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    textures.clear();

    for (auto& [handle, source] : programs) {
        if (kept)
            glDeleteObjectARB(source.current);
        source.current = buildProgram(source.vertex, source.fragment);
    }
}

void ContextObjects::keepProgram(unsigned int handle, const std::string& vertexSource,
                                 const std::string& fragmentSource)
{
    programs[handle] = ProgramSource{vertexSource, fragmentSource, handle};
}

unsigned int ContextObjects::program(unsigned int handle) const
{
    const auto it = programs.find(handle);
    return it == programs.end() ? handle : it->second.current;
}

unsigned int ContextObjects::buildProgram(const std::string& vertex, const std::string& fragment)
{
    const GLhandleARB program = glCreateProgramObjectARB();
    for (const auto& [type, source] :
         {std::pair{GL_VERTEX_SHADER_ARB, &vertex}, std::pair{GL_FRAGMENT_SHADER_ARB, &fragment}}) {
        const GLhandleARB shader = glCreateShaderObjectARB(type);
        const GLcharARB* text = source->c_str();
        glShaderSourceARB(shader, 1, &text, nullptr);
        glCompileShaderARB(shader);
        glAttachObjectARB(program, shader);
    }
    glLinkProgramARB(program);
    return program;
}
