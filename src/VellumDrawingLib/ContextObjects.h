#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// What lives in the OpenGL context and must outlast a change of video mode:
// textures are copied out (pixels and parameters) while the old context is
// still current and made again afterwards, shader programs are built again
// from their kept sources. Whether the video-mode call kept the context or
// made a new one, the same steps leave one working copy of every object;
// the holders' texture names are rewritten in place.
class ContextObjects {
public:
    ContextObjects() = default;
    ~ContextObjects() = default;
    ContextObjects(const ContextObjects&) = delete;
    ContextObjects& operator=(const ContextObjects&) = delete;

    // Copies out every named texture (names of 0 are skipped; a name held
    // twice is copied once) and marks the context, so that copyBack can tell
    // whether it was replaced. Call with the old context current.
    void copyOut(const std::vector<unsigned int*>& textureNames);
    // True when the context current now is the one copyOut saw.
    bool contextKept() const;
    // Makes the copied textures again in the current context, deleting the
    // old ones first if the context was kept, and writes the new names to
    // the places copyOut was given; then builds every kept program anew.
    void copyBack();

    // Remembers a program built from these sources; handle is the name the
    // caller was given and keeps using.
    void keepProgram(unsigned int handle, const std::string& vertexSource,
                     const std::string& fragmentSource);
    // The GL program that stands for handle now; handle itself until a
    // program was built anew, 0 for 0.
    unsigned int program(unsigned int handle) const;

private:
    struct TextureCopy {
        std::vector<unsigned int*> holders;
        int width = 0;
        int height = 0;
        int internalFormat = 0;
        int minFilter = 0;
        int magFilter = 0;
        int wrapS = 0;
        int wrapT = 0;
        std::unique_ptr<unsigned char[]> pixels;
    };
    struct ProgramSource {
        std::string vertex;
        std::string fragment;
        unsigned int current = 0;
    };

    static unsigned int buildProgram(const std::string& vertex, const std::string& fragment);

    // Keyed by the old texture name.
    std::map<unsigned int, TextureCopy> textures;
    std::map<unsigned int, ProgramSource> programs;
    // A texture made only to be asked about after the mode change: a new
    // context does not know its name.
    unsigned int marker = 0;
};
