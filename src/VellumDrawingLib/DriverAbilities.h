#pragma once

// What the OpenGL driver behind the current context offers beyond the
// drawing every driver does, asked once a context exists. An OpenGL ES
// context (WebGL, and the desktop GL a browser build emulates over it) has
// no texture combiners, reads pixels back only as RGBA and cannot read a
// texture back; desktop OpenGL has all three. Until a context has been asked,
// and where it gives no version, the answers are desktop OpenGL's.
class DriverAbilities {
public:
    // Asks the context that is current now.
    void read();
    // Takes the answers from a GL_VERSION string (null: no answer).
    void readVersion(const char* version);

    // The GL_COMBINE texture environment, for an image and a veil in one pass.
    bool combinesTextures() const { return !embedded; }
    // glReadPixels into GL_RGB.
    bool readsRgb() const { return !embedded; }
    // A texture's size and pixels read back (glGetTexLevelParameteriv,
    // glGetTexImage), which a context that is replaced needs.
    bool copiesTexturesOut() const { return !embedded; }

private:
    bool embedded = false;
};
