#include "VellumDrawingLib/OpenGLFont.h"

#include "VellumDrawingLib/FontFace.h"
#include "VellumDrawingLib/TTFSingleton.h"
#include "VellumDrawingLib/TextureStore.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

// Beyond this the atlas would take more memory than any text is worth.
const int largestAtlas = 4096;

// Symbolic links may lead a font folder back into itself; no real font
// collection nests deeper than this.
const int deepestFontFolder = 8;

// A file of that name that can be read as a font file; anything else found
// under the name (a pipe, a device, a link to nothing, a file too large) is
// said in one line and passed over.
bool isFontFile(const FilePath& candidate)
{
    // A folder of that name is searched through as any other folder.
    if (candidate.isAbsent() || candidate.isDirectory())
        return false;
    const std::string problem = candidate.readProblem(OpenGLFont::maxFileBytes);
    if (problem.empty())
        return true;
    std::cout << "OpenGLFont: " << candidate.path << " " << problem << "; passing it over."
              << std::endl;
    return false;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// One character as rendered, before it has a place in the atlas.
struct RenderedGlyph {
    SurfacePtr surface;
    int top = 0;
    int left = 0;
    int advance = 0;
};

int inkWidth(const RenderedGlyph& glyph)
{
    return glyph.surface ? glyph.surface->w : 0;
}

int inkHeight(const RenderedGlyph& glyph)
{
    return glyph.surface && glyph.surface->w > 0 ? glyph.surface->h : 0;
}

// Cells in rows of height cellHeight, left to right, each cellWidths[i] wide;
// the top-left of each cell, or nothing when they do not fit in side x side.
bool packCells(const std::vector<int>& cellWidths, int cellHeight, int side,
               std::vector<std::pair<int, int>>& places)
{
    places.clear();
    int column = 0, row = 0;
    for (const int width : cellWidths) {
        if (width > side)
            return false;
        if (column + width > side) {
            column = 0;
            row += cellHeight;
        }
        if (row + cellHeight > side)
            return false;
        places.emplace_back(column, row);
        column += width;
    }
    return true;
}

// Level by level, so that a font near the top of a folder wins over a copy
// further down, and a symbolic link back up finds nothing new before the
// depth limit ends it. A whole level is looked at before any of its folders
// is listed: listing is the slow part.
FilePath findInTree(const FilePath& root, const std::string& name)
{
    std::vector<FilePath> level = {root};
    for (int depth = 0; depth <= deepestFontFolder && !level.empty(); ++depth) {
        for (const FilePath& folder : level) {
            const FilePath direct = folder.getChild(name);
            if (isFontFile(direct))
                return direct;
        }
        std::vector<FilePath> next;
        for (const FilePath& folder : level) {
            const int count = folder.getNumChildren();
            for (int i = 0; i < count; ++i) {
                FilePath child = folder.getChild(i);
                if (child.isDirectory())
                    next.push_back(std::move(child));
            }
        }
        level = std::move(next);
    }
    return FilePath();
}

} // namespace

const char OpenGLFont::characters[78] = {
    'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm',
    'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z',
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M',
    'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z',
    '0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
    '+', '-', '=', '.', ',', ';', ':', '\'', '?', '(', ')', '!', '"', '\\', '/', ' '};

OpenGLFont::OpenGLFont(const std::string& name, float size)
{
    const std::string unavailable = TTFSingleton::getInstance()->problem();
    if (!unavailable.empty()) {
        std::cout << "OpenGLFont: Could not load font " << name << ": " << unavailable << "."
                  << std::endl;
        return;
    }
    if (!(size >= 0.5f)) {
        std::cout << "OpenGLFont: Could not load font " << name << " at size " << size
                  << ": the size must be at least one pixel." << std::endl;
        return;
    }
    if (size > static_cast<float>(largestAtlas)) {
        std::cout << "OpenGLFont: Font " << name << " at size " << size
                  << " is too large for one texture." << std::endl;
        return;
    }
    const FilePath file = getFontPath(name);
    if (file.path.empty()) {
        std::cout << "OpenGLFont: Could not find font " << name
                  << " in the font folders." << std::endl;
        return;
    }
    load(file, static_cast<int>(std::lround(size)));
}

void OpenGLFont::load(const FilePath& file, int pixelSize)
{
    // Read here rather than by the font library, so that whatever stands at
    // the path by now can neither block nor outgrow the bound.
    std::string bytes, problem;
    if (!file.readWhole(OpenGLFont::maxFileBytes, bytes, problem)) {
        std::cout << "OpenGLFont: Could not load font " << file.path << ": it " << problem << "."
                  << std::endl;
        return;
    }
    const FontFace font(bytes, pixelSize);
    if (!font.isOpen()) {
        std::cout << "OpenGLFont: Could not load font " << file.path << ": " << font.problem()
                  << std::endl;
        return;
    }
    // A broken file may give any metrics; the atlas is laid out from these.
    if (font.height() < 1) {
        std::cout << "OpenGLFont: Could not load font " << file.path
                  << ": it gives its lines no height." << std::endl;
        return;
    }
    GLint maxTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    const int maxSide = std::min(largestAtlas, static_cast<int>(maxTexture));
    if (font.height() + 2 > maxSide) {
        std::cout << "OpenGLFont: Font " << file.path << " at size " << pixelSize
                  << " is too large for one texture." << std::endl;
        return;
    }

    // The metrics first: a size whose glyphs cannot share one atlas is
    // refused before any of them is rendered.
    const int ascent = font.ascent();
    const long long cellHeightEstimate = font.height() + 2;
    long long areaEstimate = 0;
    std::vector<RenderedGlyph> rendered(charactersSize);
    for (int i = 0; i < charactersSize; ++i) {
        FontFace::Metrics m;
        if (!font.metrics(static_cast<unsigned char>(characters[i]), m)) {
            std::cout << "OpenGLFont: Font " << file.path << " has no glyph for '"
                      << characters[i] << "'." << std::endl;
            return;
        }
        rendered[i].left = m.minX;
        rendered[i].top = ascent - m.maxY;
        rendered[i].advance = m.advance;
        areaEstimate += (std::max(m.maxX - m.minX, 0) + 2) * cellHeightEstimate;
    }
    if (areaEstimate > static_cast<long long>(maxSide) * maxSide) {
        std::cout << "OpenGLFont: Font " << file.path << " at size " << pixelSize
                  << " is too large for one texture." << std::endl;
        return;
    }

    int highest = 0;
    for (int i = 0; i < charactersSize; ++i) {
        RenderedGlyph& glyph = rendered[i];
        glyph.surface.reset(font.render(static_cast<unsigned char>(characters[i])));
        if (glyph.surface && glyph.surface->w > 0 &&
            (glyph.surface->format->BytesPerPixel != 4 || glyph.surface->w + 2 > maxSide ||
             glyph.surface->h + 2 > maxSide)) {
            std::cout << "OpenGLFont: Could not render font " << file.path << " at size "
                      << pixelSize << "." << std::endl;
            return;
        }
        if (inkHeight(glyph) > 0)
            highest = std::min(highest, glyph.top);
    }

    // Rows above the ascent that some glyph reaches into (0 for most fonts).
    const int above = -highest;
    int height = font.height() + above;
    for (const RenderedGlyph& glyph : rendered)
        height = std::max(height, above + glyph.top + inkHeight(glyph));
    glyphHeight = static_cast<float>(height);
    cellTop = static_cast<float>(1 + above);

    // Every cell keeps a transparent pixel on each side, so that linear
    // filtering never pulls in a neighbour's ink.
    const int cellHeight = height + 2;
    std::vector<int> cellWidths;
    long long area = 0;
    for (const RenderedGlyph& glyph : rendered) {
        cellWidths.push_back(inkWidth(glyph) + 2);
        area += static_cast<long long>(cellWidths.back()) * cellHeight;
    }
    std::vector<std::pair<int, int>> places;
    unsigned int side = powerOfTwo(static_cast<unsigned int>(std::ceil(std::sqrt(area))));
    while (static_cast<int>(side) <= maxSide &&
           !packCells(cellWidths, cellHeight, static_cast<int>(side), places))
        side *= 2;
    if (static_cast<int>(side) > maxSide) {
        std::cout << "OpenGLFont: Font " << file.path << " at size " << pixelSize
                  << " is too large for one texture." << std::endl;
        return;
    }
    textureSize = static_cast<int>(side);

    std::unique_ptr<unsigned char[]> atlas(
        new unsigned char[static_cast<std::size_t>(side) * side * 4]());
    glyphs.clear();
    for (int i = 0; i < charactersSize; ++i) {
        const RenderedGlyph& glyph = rendered[i];
        Glyph record;
        record.u = static_cast<float>(places[i].first);
        record.v = static_cast<float>(places[i].second);
        record.advance = static_cast<float>(glyph.advance);
        if (inkWidth(glyph) > 0 && inkHeight(glyph) > 0) {
            record.width = static_cast<float>(cellWidths[i]);
            record.offset = static_cast<float>(glyph.left - 1);
            copyGlyph(atlas.get(), glyph.surface.get(), places[i].first + 1,
                      places[i].second + 1, above + glyph.top + 1);
        }
        glyphs.push_back(record);
    }

    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The face's surfaces hold blue, green, red, alpha bytes.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureSize, textureSize, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, atlas.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    loaded = texture != 0;
    if (!loaded)
        std::cout << "OpenGLFont: Could not make a texture for font " << file.path << "."
                  << std::endl;
}

const OpenGLFont::Glyph* OpenGLFont::find(char c) const
{
    const char* end = characters + charactersSize;
    const char* found = std::find(characters, end, c);
    if (found == end || glyphs.size() != static_cast<std::size_t>(charactersSize))
        return nullptr;
    return &glyphs[static_cast<std::size_t>(found - characters)];
}

void OpenGLFont::draw(const std::string& text, float x, float y, float p, float scale, float r,
                      float g, float b, float a) const
{
    if (!loaded)
        return;
    const Glyph* blank = find(' ');
    float pen = x;
    for (const char c : text) {
        const Glyph* glyph = find(c);
        if (!glyph)
            glyph = blank;
        if (glyph->width > 0.0f)
            drawGlyph(glyph->u, glyph->v, glyph->width, scale, pen + glyph->offset * scale,
                      y - cellTop * scale, r, g, b, a);
        pen += (glyph->advance + p) * scale;
    }
}

FilePath OpenGLFont::getFontPath(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return FilePath();
    std::vector<FilePath> folders = FilePath::getFontsDirs();
    const FilePath data = FilePath::getDataFilesDir();
    if (!data.path.empty())
        folders.push_back(data.getChild("fonts"));
    for (const FilePath& folder : folders) {
        const FilePath found = findInTree(folder, name);
        if (!found.path.empty())
            return found;
    }
    return FilePath();
}

void OpenGLFont::copyGlyph(unsigned char* pixels, SDL_Surface* glyph, int column, int row,
                           int rowOffset) const
{
    if (!pixels || !glyph || !glyph->pixels || glyph->format->BytesPerPixel != 4)
        return;
    const int firstRow = row + rowOffset - 1;
    const int firstColumn = std::max(column, 0);
    const int lastColumn = std::min(column + glyph->w, textureSize);
    if (firstColumn >= lastColumn)
        return;
    const bool locked = SDL_MUSTLOCK(glyph);
    if (locked && SDL_LockSurface(glyph) != 0)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(textureSize) * 4;
    for (int r = 0; r < glyph->h; ++r) {
        const int target = firstRow + r;
        if (target < 0 || target >= textureSize)
            continue;
        // Rows are read at the surface's pitch, which may exceed width x 4.
        const unsigned char* source = static_cast<const unsigned char*>(glyph->pixels) +
                                      static_cast<std::size_t>(r) * glyph->pitch +
                                      static_cast<std::size_t>(firstColumn - column) * 4;
        std::memcpy(pixels + target * rowBytes + static_cast<std::size_t>(firstColumn) * 4,
                    source, static_cast<std::size_t>(lastColumn - firstColumn) * 4);
    }
    if (locked)
        SDL_UnlockSurface(glyph);
}

void OpenGLFont::drawGlyph(float u, float v, float width, float scale, float x, float y,
                           float r, float g, float b, float a) const
{
    const float side = static_cast<float>(textureSize);
    const float cell = glyphHeight + 2.0f;
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, u / side, v / side);
    glVertex2f(x, y);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, (u + width) / side, v / side);
    glVertex2f(x + width * scale, y);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, (u + width) / side, (v + cell) / side);
    glVertex2f(x + width * scale, y + cell * scale);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, u / side, (v + cell) / side);
    glVertex2f(x, y + cell * scale);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

unsigned int OpenGLFont::powerOfTwo(unsigned int n)
{
    return TextureStore::powerOfTwo(n);
}
