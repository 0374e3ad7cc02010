#include "VellumDrawingLib/ContextObjects.h"

#include "DrawingTestSupport.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

GLuint makeTexture(const Texture& t)
{
    const auto& [width, height, filter, wrap, pixels] = t;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (const GLenum parameter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
        glTexParameteri(GL_TEXTURE_2D, parameter, filter);
    for (const GLenum parameter : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T})
        glTexParameteri(GL_TEXTURE_2D, parameter, wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

bool openGlWindow(int width, int height)
{
    return SDL_SetVideoMode(width, height, 0, SDL_OPENGL) && glewInit() == GLEW_OK;
}

} // namespace

// The video-mode call may keep the context (a new size) or make a new one (as
// a hop through a window without OpenGL does): either way every holder ends
// with a texture of the same pixels and parameters, and every kept program is
// linked anew.
TEST(ContextObjectsTest, TexturesAndProgramsOutliveAVideoModeChange)
{
    for (const bool throughPlainWindow : {false, true}) {
        SCOPED_TRACE(throughPlainWindow ? "context replaced" : "context kept");
        // The virtual display now and then refuses a connection made right
        // after another: one more try then, a moment later.
        bool started = false;
        for (int attempt = 0; attempt < 2 && !started; ++attempt) {
            SDL_Delay(attempt * 300);
            if (!(started = SDL_Init(SDL_INIT_VIDEO) == 0 && openGlWindow(64, 48)))
                SDL_Quit();
        }
        ASSERT_TRUE(started) << SDL_GetError();
        TestPlatform::keepGlDriverLoaded();

        std::vector<unsigned char> pattern(4 * 2 * 4);
        for (std::size_t i = 0; i < pattern.size(); ++i)
            pattern[i] = static_cast<unsigned char>(i * 37 + 11);
        const Texture made[] = {{4, 2, GL_NEAREST, GL_CLAMP_TO_EDGE, pattern},
                                {8, 8, GL_LINEAR, GL_REPEAT, std::vector<unsigned char>(8 * 8 * 4, 200)}};
        unsigned int names[] = {makeTexture(made[0]), makeTexture(made[1])};
        unsigned int sameAsFirst = names[0], none = 0;
        ContextObjects objects;
        // The name the caller was given by the drawer's own build.
        const unsigned int handle = glCreateProgramObjectARB();
        objects.keepProgram(handle, "void main() { gl_Position = ftransform(); }",
                            "void main() { gl_FragColor = vec4(1.0, 0.5, 0.25, 1.0); }");

        objects.copyOut({&names[0], &names[1], &sameAsFirst, &none});
        if (throughPlainWindow) {
            ASSERT_NE(SDL_SetVideoMode(64, 48, 0, 0), nullptr);
        }
        ASSERT_TRUE(openGlWindow(80, 60)) << SDL_GetError();
        EXPECT_EQ(objects.contextKept(), !throughPlainWindow);
        objects.copyBack();

        EXPECT_EQ(sameAsFirst, names[0]);
        EXPECT_EQ(none, 0u);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(readTexture(names[i]), made[i]) << i;
        const GLhandleARB program = objects.program(handle);
        ASSERT_NE(program, 0u);
        GLint linked = 0;
        glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        EXPECT_EQ(linked, GL_TRUE);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        SDL_Quit();
    }
}
