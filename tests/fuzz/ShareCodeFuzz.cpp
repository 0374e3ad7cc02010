// Share codes: the bytes are a code from a link, which must decode to one
// plane or to none, never past the bound on its text; a plane it gives
// must travel again unchanged. The same bytes taken as a text must pack
// into a code that unpacks to exactly that text, so the packer is fuzzed
// on every shape of input alongside the unpacker.

#include "FuzzSupport.h"

#include "editor/ShareCode.h"
#include "game/LevelWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string text, problem;
    if (ShareCode::unpack(bytes, text, problem) && text.size() > ShareCode::maxTextBytes)
        std::abort();
    const PlaneList list = ShareCode::decode(bytes);
    if (list.size() > 1)
        std::abort();
    if (list.size() == 1) {
        const PlaneList again = ShareCode::decode(ShareCode::encode(list.planes[0], list.notes[0]));
        if (again.size() != 1 || LevelWriter::write(again.planes, again.notes) != list.write())
            std::abort();
    }
    std::string back;
    if (!ShareCode::unpack(ShareCode::pack(bytes), back, problem) || back != bytes)
        std::abort();
    return 0;
}
