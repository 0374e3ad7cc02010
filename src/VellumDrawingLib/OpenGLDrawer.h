#pragma once

#include "VellumDrawingLib/ContextObjects.h"
#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/DriverAbilities.h"
#include "VellumDrawingLib/FrameCompositor.h"
#include "VellumDrawingLib/OpenGLFont.h"
#include "VellumDrawingLib/OpenGLWindow.h"
#include "VellumDrawingLib/ScreenReader.h"
#include "VellumDrawingLib/ShaderPrograms.h"
#include "VellumDrawingLib/ShapePainter.h"
#include "VellumDrawingLib/TextWriter.h"
#include "VellumDrawingLib/TextureStore.h"
#include "VellumDrawingLib/VideoMode.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Draws through OpenGL 1.x immediate mode (with the multitexture and shader
// object extensions, loaded by GLEW) into an SDL 1.2 OpenGL window, fitting
// the logical area into the window with its proportions kept. It keeps what
// the callers hand it and answers each call by handing the job to a part:
// the window and its video mode (OpenGLWindow), the images (TextureStore),
// the shapes (ShapePainter) and shader programs (ShaderPrograms), the text
// (TextWriter), the read-back (ScreenReader); FrameCompositor gives the calls
// cheaper ways to the same picture. The shell reaches the video mode through
// VideoMode. Refused display requests are reported and set-up carries on;
// drawing an image or font id that was never handed out is a caller's fault
// and aborts the program.
class OpenGLDrawer : public Drawer, public VideoMode {
public:
    using Image = TextureStore::Image;
    using Polygon = ShapePainter::Polygon;

    // Settles what SDL's video reads as it starts: to be called before
    // SDL_Init starts the video.
    static void prepareVideo();

    OpenGLDrawer(short width, short height);
    ~OpenGLDrawer() override;
    OpenGLDrawer(const OpenGLDrawer&) = delete;
    OpenGLDrawer& operator=(const OpenGLDrawer&) = delete;

    bool initialise(unsigned short width, unsigned short height, bool fullscreen,
                    int antialias) override;
    void initialiseLight(unsigned short width, unsigned short height) override;
    unsigned int loadImage(unsigned char* pixels, unsigned int width,
                           unsigned int height) override;
    void releaseImage(unsigned int id) override;
    unsigned int loadPoly(float* points, int count) override;
    unsigned int loadShader(const std::string& vertexFile,
                            const std::string& fragmentFile) override;
    unsigned int loadFont(const std::string& name, float size) override;
    void beginDrawing() override;
    void finishDrawing() override;
    void endDrawing() override;
    unsigned char* getScreenPixels() override;
    void useShader(unsigned int program) override;
    void useSecondImage(unsigned int id) override;
    void drawImage(unsigned int id, float x, float y, float scaleX, float scaleY, float r,
                   float g, float b, float a) override;
    void drawImageRot(unsigned int id, float x, float y, float angle, float pivotX,
                      float pivotY, float scaleX, float scaleY) override;
    void drawPoly(unsigned int poly, unsigned int image, float x, float y, float scaleX,
                  float scaleY, float r, float g, float b, float a) override;
    void drawText(const std::string& text, float x, float y, float size, float r, float g,
                  float b, float a) override;
    void drawText(const std::string& text, unsigned int font, float x, float y, float p,
                  float scale, float r, float g, float b, float a) override;
    void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                  float a) override;
    void fillRect(float x, float y, float w, float h, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char a) override;
    void fillGradient(float x, float y, float w, float h, unsigned char r1, unsigned char g1,
                      unsigned char b1, unsigned char a1, unsigned char r2, unsigned char g2,
                      unsigned char b2, unsigned char a2) override;
    void setViewport(short x, short y, short w, short h) override;
    void resetViewport() override;
    short getActualWidth() const override;
    short getActualHeight() const override;
    void loadGlyph(Glyph glyph, unsigned char* pixels, unsigned int size) override;

    // Even where SDL makes a new GL context for the mode, the objects are
    // made again in it.
    bool changeVideoMode(unsigned short width, unsigned short height, bool fullscreen) override;
    bool canChangeMode() const override;
    bool isFullScreen() const override;
    int getWindowWidth() const override;
    int getWindowHeight() const override;
    Size getWindowedSize(int displayWidth, int displayHeight) const override;
    ImageData readFittedPicture() override;

    // Linear (true) or nearest filtering for textures made from now on.
    void setTexInterp(bool interpolate);
    static bool isPowerOfTwo(unsigned int n);
    // The smallest power of two not below n; 1 for 0, 0 above 2^31.
    static unsigned int powerOfTwo(unsigned int n);
    // Puts a 16 x 16 opaque white placeholder into every glyph slot.
    void initFonts();
    // The display's current format has 16 bits a pixel.
    static bool is16Bit();
    // Writes a shader or program object's info log, if it has one.
    void printInfoLog(unsigned int object);
    // A shader source's text, echoed to standard output; empty when the path
    // is empty or the file does not open.
    std::string loadShaderFile(const std::string& path);

    // What the driver was found to offer. A test may answer for another
    // driver (readVersion) to draw as the drawer would draw there.
    DriverAbilities& getDriver() { return driver; }
    // What has been loaded, for callers that need to look (tests, tools).
    const std::map<unsigned int, Image>& getImages() const { return images; }
    const Image& getGlyph(Glyph glyph) const { return glyphs[glyph]; }
    int getGlyphPadding() const { return glyphPadding; }
    // The fitted drawing area's offsets in window pixels (y from the bottom).
    float getViewportX() const { return window.getViewportX(); }
    float getViewportY() const { return window.getViewportY(); }

    // The embedded 8 x 8 line image (alpha across its columns gives lines
    // their soft edges), and its image id once loaded; 0 until then. Shared
    // by all drawers and held in the map of the one that loaded it.
    static const unsigned char* line_png;
    static unsigned int lineImage;

private:
    // After a video-mode change: makes again, in the current context, every GL
    // object the drawer holds, from what was copied out before the change.
    void remakeContextObjects();
    // The places that hold a texture name, for copying out before a mode change.
    std::vector<unsigned int*> contextTextures();
    void loadLineImageOnce();
    // The image with that id; an unknown id aborts with the failed check.
    Image& findImage(unsigned int id);

    short logicalWidth;
    short logicalHeight;
    std::map<unsigned int, Image> images;
    std::vector<Polygon> polygons;
    std::array<Image, GlyphCount> glyphs;
    int glyphPadding = 0;
    // Font id n is fonts[n - 1]; the fonts go with the drawer.
    std::vector<std::unique_ptr<OpenGLFont>> fonts;
    unsigned int secondImage = 0;
    int baseUniform = 0;
    int secondUniform = 0;
    unsigned int nextImageId = 1;
    bool texInterp = true;
    int linePngSize;
    // This drawer loaded the shared line image and gives the id up when it goes.
    bool holdsLineImage = false;

    // The parts, each working on the fields above that its job concerns.
    OpenGLWindow window;
    DriverAbilities driver;
    ContextObjects contextObjects;
    FrameCompositor frame;
    TextureStore textures{images, nextImageId, texInterp};
    ShaderPrograms shaders{contextObjects, baseUniform, secondUniform};
    ShapePainter shapes;
    TextWriter textWriter{glyphs, glyphPadding, fonts, texInterp, frame};
    ScreenReader reader{frame, window, driver};
};
