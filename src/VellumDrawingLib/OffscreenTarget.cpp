#include "VellumDrawingLib/OffscreenTarget.h"

#include "VellumDrawingLib/TextureStore.h"

#include <GL/glew.h>

#include <iostream>

bool OffscreenTarget::bind()
{
    if (framebuffer == 0 && !make())
        return false;
    if (!bound)
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &windowFramebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    bound = true;
    return true;
}

void OffscreenTarget::unbind()
{
    if (!bound)
        return;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(windowFramebuffer));
    bound = false;
}

bool OffscreenTarget::make()
{
    if (failed)
        return false;
    if (!GLEW_EXT_framebuffer_object) {
        failed = true;
        return false;
    }
    // A power-of-two texture works on every driver, with or without
    // non-power-of-two support; the picture uses its lower-left part.
    const unsigned int textureWidth = TextureStore::powerOfTwo(static_cast<unsigned int>(width));
    const unsigned int textureHeight = TextureStore::powerOfTwo(static_cast<unsigned int>(height));
    maxU = static_cast<float>(width) / textureWidth;
    maxV = static_cast<float>(height) / textureHeight;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previous);
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture,
                              0);
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(previous));
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        std::cout << "OffscreenTarget: The driver refused an off-screen picture; drawing "
                     "straight to the window."
                  << std::endl;
        release();
        failed = true;
        return false;
    }
    return true;
}

void OffscreenTarget::present(int x, int y, int w, int h)
{
    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // Every texel is opaque: blending would only cost.
    glDisable(GL_BLEND);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(maxU, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glTexCoord2f(maxU, maxV);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, maxV);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_BLEND);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void OffscreenTarget::forgetContextObjects()
{
    framebuffer = 0;
    texture = 0;
    windowFramebuffer = 0;
    bound = false;
    failed = false;
}

void OffscreenTarget::adoptContext()
{
    const bool known = framebuffer != 0 && GLEW_EXT_framebuffer_object &&
                       glIsFramebufferEXT(framebuffer) && glIsTexture(texture);
    if (!known)
        forgetContextObjects();
}

void OffscreenTarget::release()
{
    if (framebuffer != 0)
        glDeleteFramebuffersEXT(1, &framebuffer);
    if (texture != 0)
        glDeleteTextures(1, &texture);
    forgetContextObjects();
}
