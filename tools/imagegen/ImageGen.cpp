// Makes the game's eighteen images and writes them as PNG files into the
// folder given on the command line. The same program always writes the same
// bytes, so the committed images can be checked by running it again.

#include "Figure.h"
#include "Pictures.h"
#include "PngWriter.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Image {
    const char* name;
    std::function<Canvas()> make;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("Usage: %s OUTPUT_FOLDER (the game's images go to src/images)\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];

    using Pose = Figure::Pose;
    const std::vector<Image> images = {
        {"focalfade1.png", [] { return Pictures::vignette(1024, 768, 0); }},
        {"focalfade3.png", [] { return Pictures::vignette(1024, 768, 1); }},
        {"rect1a.png", [] { return Pictures::block(398, 487, 1100, 0); }},
        {"rect1b.png", [] { return Pictures::block(398, 487, 1100, 1); }},
        {"rect2a.png", [] { return Pictures::block(190, 752, 1200, 0); }},
        {"rect2b.png", [] { return Pictures::block(190, 752, 1200, 1); }},
        {"rect3a.png", [] { return Pictures::block(746, 256, 1300, 0); }},
        {"rect3b.png", [] { return Pictures::block(744, 256, 1300, 1); }},
        {"rect4a.png", [] { return Pictures::block(512, 483, 1400, 0); }},
        {"rect4b.png", [] { return Pictures::block(512, 483, 1400, 1); }},
        {"door.png", [] { return Pictures::door(58, 72); }},
        {"brickvoyager.png", [] { return Pictures::words("Brick Voyager", 1024, 170, 62.0, 5.2, 6100); }},
        {"stepinside.png", [] { return Pictures::words("step inside", 562, 154, 50.0, 4.4, 6200); }},
        {"guystand1.png", [] { return Figure::draw(Pose::Stand); }},
        {"guystand2.png", [] { return Figure::draw(Pose::StandBreathIn); }},
        {"guywalk1.png", [] { return Figure::draw(Pose::WalkPassing); }},
        {"guywalk2.png", [] { return Figure::draw(Pose::WalkNearLegAhead); }},
        {"guywalk3.png", [] { return Figure::draw(Pose::WalkFarLegAhead); }},
    };

    for (const Image& image : images) {
        const Canvas canvas = image.make();
        const std::string path = folder + "/" + image.name;
        if (!writePng(path, unsigned(canvas.width), unsigned(canvas.height), canvas.bytes())) {
            std::printf("ImageGen: could not write %s\n", path.c_str());
            return 1;
        }
        std::printf("ImageGen: wrote %s (%d x %d)\n", path.c_str(), canvas.width, canvas.height);
    }
    return 0;
}
