// The page: a link is handed to page.js (Module.bvShare), which shows it
// beside the canvas; a link the page was opened with, once the player has
// taken its plane, waits as a file at the root of the page's file system,
// written by page.js before the game starts and read here once.
#include "platform/ShareLink.h"

#include "platform/FilePath.h"

#include <cstdio>
#include <emscripten.h>

namespace {

const char* const arrivedFile = "/shared-plane.code";
// Far above any code; a longer one is refused unread.
constexpr std::uintmax_t maxCodeBytes = 1024 * 1024;

} // namespace

bool ShareLink::available()
{
    return true;
}

bool ShareLink::requested()
{
    return EM_ASM_INT({
        var asked = Module.bvShareAsked;
        Module.bvShareAsked = false;
        return asked ? 1 : 0;
    }) != 0;
}

void ShareLink::show(const std::string& code)
{
    // The code is plain ASCII: its bytes are its letters.
    EM_ASM(
        {
            if (Module.bvShare)
                Module.bvShare(String.fromCharCode.apply(null, HEAPU8.subarray($0, $0 + $1)));
        },
        code.data(), code.size());
}

std::string ShareLink::takeArrived()
{
    const FilePath file(arrivedFile);
    std::string code, problem;
    if (file.isAbsent())
        return std::string();
    if (!file.readWhole(maxCodeBytes, code, problem))
        code.clear();
    std::remove(arrivedFile);
    return code;
}
