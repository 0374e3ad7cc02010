#include "VellumDrawingLib/ShaderPrograms.h"

#include "VellumDrawingLib/ContextObjects.h"

#include <GL/glew.h>

#include <fstream>
#include <iostream>
#include <vector>

ShaderPrograms::ShaderPrograms(ContextObjects& contextObjects, int& baseUniform,
                               int& secondUniform)
    : contextObjects(contextObjects), baseUniform(baseUniform), secondUniform(secondUniform)
{
}

unsigned int ShaderPrograms::load(const std::string& vertexFile, const std::string& fragmentFile)
{
    const GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    const GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    const std::string vertexSource = loadFile(vertexFile);
    const std::string fragmentSource = loadFile(fragmentFile);
    const GLcharARB* vertexText = vertexSource.c_str();
    const GLcharARB* fragmentText = fragmentSource.c_str();
    glShaderSourceARB(vertexShader, 1, &vertexText, nullptr);
    glShaderSourceARB(fragmentShader, 1, &fragmentText, nullptr);
    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);

    const GLhandleARB program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);

    std::cout << "OpenGLDrawer Shader InfoLog:" << std::endl
              << "----------------------------" << std::endl
              << vertexFile << ":" << std::endl;
    printInfoLog(vertexShader);
    std::cout << fragmentFile << ":" << std::endl;
    printInfoLog(fragmentShader);

    contextObjects.keepProgram(program, vertexSource, fragmentSource);
    baseUniform = glGetUniformLocationARB(program, "base");
    secondUniform = glGetUniformLocationARB(program, "second");
    return program;
}

std::string ShaderPrograms::loadFile(const std::string& path)
{
    if (path.empty())
        return std::string();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::string();
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    file.read(&text[0], size);
    text.resize(static_cast<std::size_t>(file.gcount()));
    std::cout << text << std::endl;
    return text;
}

void ShaderPrograms::printInfoLog(unsigned int object)
{
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 0)
        return;
    std::vector<GLcharARB> log(static_cast<std::size_t>(length) + 1, '\0');
    GLsizei written = 0;
    glGetInfoLogARB(object, length, &written, log.data());
    std::cout << log.data() << std::endl;
}

void ShaderPrograms::use(unsigned int program)
{
    glUseProgramObjectARB(contextObjects.program(program));
    activeProgram = program;
}

void ShaderPrograms::useAgain() const
{
    if (activeProgram != 0)
        glUseProgramObjectARB(contextObjects.program(activeProgram));
}

void ShaderPrograms::pointBaseAtUnit0() const
{
    if (activeProgram != 0)
        glUniform1iARB(baseUniform, 0);
}

void ShaderPrograms::pointSecondAtUnit1() const
{
    if (activeProgram != 0)
        glUniform1iARB(secondUniform, 1);
}
