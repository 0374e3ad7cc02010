#include "VellumDrawingLib/FillComposer.h"

void FillComposer::add(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    if (a == 0)
        return;
    const float alpha = a / 255.0f;
    const float keep = 1.0f - alpha;
    if (a == 255 || layer.kind == Layer::None) {
        layer = Layer{a == 255 ? Layer::Clear : Layer::Blend, r / 255.0f * alpha,
                      g / 255.0f * alpha, b / 255.0f * alpha, alpha};
        return;
    }
    // Over a clear the result stays a clear; over a layer the two layers
    // compose as one whose alpha covers what either covered.
    layer.r = layer.r * keep + r / 255.0f * alpha;
    layer.g = layer.g * keep + g / 255.0f * alpha;
    layer.b = layer.b * keep + b / 255.0f * alpha;
    if (layer.kind == Layer::Blend)
        layer.a = 1.0f - (1.0f - layer.a) * keep;
}

FillComposer::Layer FillComposer::take()
{
    const Layer taken = layer;
    layer = Layer{};
    return taken;
}
