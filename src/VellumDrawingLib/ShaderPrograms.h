#pragma once

#include <string>

class ContextObjects;

// The shader programs: built from source files (each source echoed, with the
// compiler's and linker's logs), kept by ContextObjects so that they outlive
// a change of video mode, and made current on request. A stage without a
// file is left empty; a program that does not compile or link is handed out
// all the same and draws as the driver makes it. Without the shader
// extensions, nothing here can work.
class ShaderPrograms {
public:
    // The holder's sampler uniform locations, which load sets.
    ShaderPrograms(ContextObjects& contextObjects, int& baseUniform, int& secondUniform);
    ShaderPrograms(const ShaderPrograms&) = delete;
    ShaderPrograms& operator=(const ShaderPrograms&) = delete;

    // Returns the program handle the caller keeps using, even across a
    // change of video mode.
    unsigned int load(const std::string& vertexFile, const std::string& fragmentFile);
    // A shader source's text, echoed to standard output; empty when the path
    // is empty or the file does not open.
    static std::string loadFile(const std::string& path);
    // Writes a shader or program object's info log, if it has one.
    static void printInfoLog(unsigned int object);
    // 0 goes back to fixed-function drawing.
    void use(unsigned int program);
    // After a change of video mode: the program in use is current again.
    void useAgain() const;
    // A program is in use; sampler uniforms are set only then, so that
    // fixed-function drawing raises no GL errors.
    bool inUse() const { return activeProgram != 0; }
    // Samplers of the program in use read texture units 0 and 1.
    void pointBaseAtUnit0() const;
    void pointSecondAtUnit1() const;

private:
    ContextObjects& contextObjects;
    int& baseUniform;
    int& secondUniform;
    unsigned int activeProgram = 0;
};
