#pragma once

#include <SDL.h>

#include "input/PointerInput.h"

class EditorModel;

// The editor's keys and mouse: an SDL event in, the model's operations out.
// What reaches beyond the model (leaving, playing, the proof, the files, the
// pages of keys) comes back as a Request for the editor to carry out. An
// event it has no use for does nothing.
class EditorControls {
public:
    enum class Request {
        None, Leave, Play, PlayFromPointer, PlayAll, ShowRoute, Export, Import, Share, Help
    };

    Request handle(const SDL_Event& event, const PointerInput::Fit& fit, EditorModel& model);

private:
    Request keyDown(const SDL_keysym& key, EditorModel& model);
    void pointer(const PointerInput::Pointer& p, EditorModel& model);

    bool dragging = false;
    // Where in the block it was taken, so that it does not jump to the pointer.
    int grabX = 0, grabY = 0;
};
