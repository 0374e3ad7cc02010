#include "editor/EditorControls.h"

#include "editor/EditorModel.h"
#include "game/LogicalScreen.h"

EditorControls::Request EditorControls::handle(const SDL_Event& event, const PointerInput::Fit& fit,
                                               EditorModel& model)
{
    if (event.type == SDL_KEYDOWN)
        return keyDown(event.key.keysym, model);
    const PointerInput::Pointer p = PointerInput::translate(event, fit);
    if (p.kind != PointerInput::Kind::None)
        pointer(p, model);
    return Request::None;
}

void EditorControls::pointer(const PointerInput::Pointer& p, EditorModel& model)
{
    if (p.kind == PointerInput::Kind::Move) {
        model.setPointer(p.x, p.y);
        if (dragging)
            model.dragSelectedTo(p.x - grabX, p.y - grabY);
        return;
    }
    if (p.button != SDL_BUTTON_LEFT)
        return;
    if (p.kind == PointerInput::Kind::Release) {
        if (dragging)
            model.finishGesture();
        dragging = false;
        return;
    }
    if (model.allScreens) {
        const int column = p.x * 2 / LogicalScreen::width, row = p.y * 2 / LogicalScreen::height;
        model.chooseScreen(row * 2 + column);
        model.setPointer((p.x * 2) % LogicalScreen::width, (p.y * 2) % LogicalScreen::height);
        return;
    }
    model.selectAt(p.x, p.y);
    if (const Block* block = model.selectedBlock()) {
        dragging = true;
        grabX = p.x - block->x;
        grabY = p.y - block->y;
    }
}

EditorControls::Request EditorControls::keyDown(const SDL_keysym& key, EditorModel& model)
{
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const int step = shift ? EditorModel::fineStep : EditorModel::step;
    const auto arrow = [&](int dx, int dy) {
        if (model.selectedBlock())
            model.moveSelected(dx * step, dy * step);
        else
            model.movePointer(dx * step, dy * step);
    };
    switch (key.sym) {
    case SDLK_e:
    case SDLK_ESCAPE: return Request::Leave;
    case SDLK_F1: return Request::Help;
    case SDLK_LEFT: arrow(-1, 0); break;
    case SDLK_RIGHT: arrow(1, 0); break;
    case SDLK_UP: arrow(0, -1); break;
    case SDLK_DOWN: arrow(0, 1); break;
    case SDLK_TAB: model.selectNext(shift ? -1 : 1); break;
    case SDLK_n: model.addBlock(); break;
    case SDLK_DELETE:
        ctrl ? model.removePlane() : model.removeSelected();
        break;
    case SDLK_BACKSPACE: model.removeSelected(); break;
    case SDLK_t: model.nextType(); break;
    case SDLK_b:
        shift ? model.nextPhase() : model.nextBreathing();
        break;
    case SDLK_d: model.placeDoor(); break;
    case SDLK_s: model.placeStart(); break;
    case SDLK_0: model.showAllScreens(); break;
    case SDLK_1:
    case SDLK_2:
    case SDLK_3:
    case SDLK_4: model.chooseScreen(key.sym - SDLK_1); break;
    case SDLK_PAGEUP:
        ctrl ? model.movePlane(-1) : model.choosePlane(-1);
        break;
    case SDLK_PAGEDOWN:
        ctrl ? model.movePlane(1) : model.choosePlane(1);
        break;
    case SDLK_INSERT: model.insertPlane(); break;
    case SDLK_c: model.copyPlane(); break;
    case SDLK_z:
        if (ctrl)
            shift ? model.redo() : model.undo();
        break;
    case SDLK_y:
        if (ctrl)
            model.redo();
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return shift ? Request::PlayFromPointer : Request::Play;
    case SDLK_j: return Request::PlayAll;
    case SDLK_r: return Request::ShowRoute;
    case SDLK_x: return Request::Export;
    case SDLK_i: return Request::Import;
    case SDLK_l: return Request::Share;
    default: break;
    }
    return Request::None;
}
