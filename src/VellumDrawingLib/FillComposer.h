#pragma once

// Holds back the fills that cover the whole drawing area, so that a frame's
// run of them (the ground, veils of any alpha) costs at most one pass: a fill
// that changes no pixel is dropped, an opaque one becomes a clear that also
// forgets everything held before it, and translucent ones fold into a single
// premultiplied colour. What is held must be put down (flush) before anything
// else is drawn; the owner does that, so the order of the picture is kept.
class FillComposer {
public:
    // What is held: nothing, a clear to an opaque colour, or a translucent
    // layer in premultiplied colour (r, g, b already times a), all 0..1.
    struct Layer {
        enum Kind { None, Clear, Blend } kind = None;
        float r = 0.0f;
        float g = 0.0f;
        float b = 0.0f;
        float a = 0.0f;
    };

    // A whole-area fill of byte colour and alpha laid over what is held.
    void add(unsigned char r, unsigned char g, unsigned char b, unsigned char a);
    const Layer& held() const { return layer; }
    // Hands over what is held and holds nothing from then on.
    Layer take();

private:
    Layer layer;
};
