#include "editor/EditorPicture.h"

#include "editor/EditorModel.h"
#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "game/Player.h"
#include "VellumDrawingLib/Drawer.h"

namespace {

constexpr float width = LogicalScreen::width;
constexpr float height = LogicalScreen::height;
constexpr int animFrames = 12;

// Every key, in the bitmap glyphs' characters.
const std::vector<std::string> helpLines = {
    "E, ESCAPE - BACK TO THE GAME, OR CLOSE THIS PAGE",
    "CLICK, DRAG - SELECT A BLOCK, MOVE IT",
    "ARROWS - MOVE THE BLOCK 8, SHIFT 1. NO BLOCK - THE POINTER",
    "TAB, SHIFT+TAB - NEXT, PREVIOUS BLOCK",
    "N - NEW BLOCK AT THE POINTER. DELETE - REMOVE IT",
    "T - BLOCK TYPE. B - BREATHING. SHIFT+B - ITS PHASE",
    "D - DOOR AT THE POINTER. S - START AT THE POINTER",
    "1 2 3 4 - SCREEN. 0 - ALL FOUR SCREENS",
    "PAGE UP, PAGE DOWN - PREVIOUS, NEXT PLANE",
    "INSERT - NEW PLANE. C - COPY OF THIS PLANE",
    "CTRL+DELETE - REMOVE THIS PLANE",
    "CTRL+PAGE UP, CTRL+PAGE DOWN - MOVE THIS PLANE",
    "CTRL+Z, CTRL+Y - UNDO, REDO",
    "ENTER - PLAY THIS PLANE. SHIFT+ENTER - FROM THE POINTER",
    "J - PLAY ALL YOUR PLANES",
    "R - WATCH THE ROUTE FOUND",
    "X - EXPORT THIS PLANE. I - TAKE ONE IN",
    "L - A SHARE LINK, ON THE PAGE",
    "F1 - THESE KEYS",
};

void outline(Drawer& drawer, float x, float y, float w, float h, float r, float g, float b)
{
    drawer.drawLine(x, y, x + w, y, r, g, b, 1.0f);
    drawer.drawLine(x + w, y, x + w, y + h, r, g, b, 1.0f);
    drawer.drawLine(x + w, y + h, x, y + h, r, g, b, 1.0f);
    drawer.drawLine(x, y + h, x, y, r, g, b, 1.0f);
}

void drawFigure(Drawer& drawer, unsigned int image, float x, float y, bool right, float alpha)
{
    if (image == 0)
        return;
    if (right)
        drawer.drawImage(image, x, y, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, alpha);
    else
        drawer.drawImage(image, x + Player::width, y, -1.0f, 1.0f, 1.0f, 1.0f, 1.0f, alpha);
}

}  // namespace

void EditorPicture::draw(Drawer& drawer, GamePlay& painter, const EditorModel& model)
{
    phase += Level::phaseStep;
    if (phase >= 16.0f)
        phase -= 16.0f;
    frame = (frame + 1) % animFrames;
    if (model.allScreens) {
        drawer.fillRect(0.0f, 0.0f, width, height, 0, 0, 0, 255);
        // Each quarter clips its own screen: blocks reach past the edges.
        for (int i = 0; i < 4; ++i) {
            drawer.setViewport(static_cast<short>((i % 2) * width / 2),
                               static_cast<short>((i / 2) * height / 2),
                               static_cast<short>(width / 2), static_cast<short>(height / 2));
            drawScreen(drawer, painter, model, i, 0.0f, 0.0f, 0.5f);
            drawer.resetViewport();
        }
        const float x = (model.screenIndex % 2) * width / 2, y = (model.screenIndex / 2) * height / 2;
        for (float in = 1.0f; in < 4.0f; in += 1.0f)
            outline(drawer, x + in, y + in, width / 2 - 2 * in, height / 2 - 2 * in, 1.0f, 0.85f, 0.2f);
        drawer.drawLine(width / 2, 0.0f, width / 2, height, 0.0f, 0.0f, 0.0f, 1.0f);
        drawer.drawLine(0.0f, height / 2, width, height / 2, 0.0f, 0.0f, 0.0f, 1.0f);
    } else {
        drawScreen(drawer, painter, model, model.screenIndex, 0.0f, 0.0f, 1.0f);
        if (painter.focalfade1 != 0)
            drawer.drawImage(painter.focalfade1, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        drawMarks(drawer, painter, model);
    }
    drawStatus(drawer, model);
    if (helpOpen)
        drawPage(drawer, "THE EDITOR KEYS", helpLines, -1);
    else if (listOpen)
        drawPage(drawer, "TAKE A PLANE IN - ARROWS, ENTER, ESCAPE", listLines, listChoice);
    drawPointer(drawer, model);
}

void EditorPicture::drawScreen(Drawer& drawer, GamePlay& painter, const EditorModel& model,
                               int index, float x, float y, float scale)
{
    Level shown = model.planes[model.plane][index];
    if (walking && index == model.screenIndex) {
        shown = *walking;
    } else {
        shown.animPhase = phase;
        shown.tick();
    }
    painter.paintScreen(&drawer, shown, x, y, scale, frame);
    if (index == 0)
        drawer.drawImage(painter.guystand1, x + shown.playerX * scale, y + shown.playerY * scale,
                         scale, scale, 1.0f, 1.0f, 1.0f, 0.8f);
}

void EditorPicture::drawMarks(Drawer& drawer, GamePlay& painter, const EditorModel& model)
{
    const Level& screen = model.screen();
    if (screen.door) {
        const CollisionHull& d = *screen.door;
        outline(drawer, d.left - 3, d.top - 3, d.right - d.left + 6, d.bottom - d.top + 6, 1.0f,
                0.85f, 0.2f);
    }
    if (model.screenIndex == 0)
        outline(drawer, screen.playerX - 3, screen.playerY - 3, Player::width + 6,
                Player::height + 6, 0.2f, 0.4f, 1.0f);
    if (const Block* block = model.selectedBlock()) {
        outline(drawer, block->x, block->y, block->width, block->height, 1.0f, 0.1f, 0.1f);
        outline(drawer, block->x + 2, block->y + 2, block->width - 4, block->height - 4, 1.0f, 1.0f,
                1.0f);
    }
    if (furthest.shown && furthest.screen == model.screenIndex) {
        const float x = furthest.x, y = furthest.y;
        drawer.drawLine(x - 14, y - 14, x + 14, y + 14, 0.9f, 0.1f, 0.1f, 1.0f);
        drawer.drawLine(x - 14, y + 14, x + 14, y - 14, 0.9f, 0.1f, 0.1f, 1.0f);
        outline(drawer, x - 18, y - 18, 36, 36, 0.9f, 0.1f, 0.1f);
    }
    if (ghost.shown && ghost.screen == model.screenIndex)
        drawFigure(drawer, painter.guystand1, ghost.x, ghost.y, ghostFacingRight, 0.45f);
}

void EditorPicture::drawStatus(Drawer& drawer, const EditorModel& model)
{
    // The glyphs are square and advance by their size: a line's width is
    // its length times the size.
    const float top = height - statusHeight, textTop = top + (statusHeight - statusSize) / 2;
    drawer.fillRect(0.0f, top, width, statusHeight, 0, 0, 0, 170);
    drawer.drawText(model.status, 8.0f, textTop, statusSize, 1.0f, 1.0f, 1.0f, 1.0f);
    drawer.drawText(proofLine, width - 8.0f - statusSize * proofLine.size(), textTop, statusSize,
                    0.75f, 1.0f, 0.75f, 1.0f);
    drawer.drawText("F1 KEYS", width - 8.0f - 12.0f * 7, 8.0f, 12.0f, 1.0f, 1.0f, 1.0f, 0.7f);
}

void EditorPicture::drawPointer(Drawer& drawer, const EditorModel& model)
{
    const float x = model.pointerX, y = model.pointerY;
    for (const float shade : {0.0f, 1.0f}) {
        const float o = shade == 0.0f ? 1.0f : 0.0f;
        drawer.drawLine(x - 10 + o, y + o, x + 10 + o, y + o, shade, shade, shade, 1.0f);
        drawer.drawLine(x + o, y - 10 + o, x + o, y + 10 + o, shade, shade, shade, 1.0f);
    }
}

void EditorPicture::drawPage(Drawer& drawer, const std::string& title,
                             const std::vector<std::string>& lines, int highlighted)
{
    const float size = 16.0f, lineHeight = 30.0f;
    drawer.fillRect(0.0f, 0.0f, width, height - statusHeight, 0, 0, 0, 215);
    drawer.drawText(title, 48.0f, 40.0f, 20.0f, 1.0f, 0.9f, 0.4f, 1.0f);
    float y = 90.0f;
    for (std::size_t i = 0; i < lines.size() && y < height - statusHeight - lineHeight; ++i) {
        const bool chosen = static_cast<int>(i) == highlighted;
        if (chosen)
            drawer.fillRect(40.0f, y - 6.0f, width - 80.0f, lineHeight, 60, 90, 60, 255);
        drawer.drawText(lines[i], 56.0f, y, size, 1.0f, 1.0f, 1.0f, 1.0f);
        y += lineHeight;
    }
    if (lines.empty())
        drawer.drawText("NOTHING THERE YET", 56.0f, y, size, 0.8f, 0.8f, 0.8f, 1.0f);
}
