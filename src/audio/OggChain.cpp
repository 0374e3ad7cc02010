#include "audio/OggChain.h"

#include <ogg/ogg.h>

namespace {
const long chunkBytes = 65536;
}

int OggChain::countStreams(std::FILE* file, int limit)
{
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    int streams = 0;
    // A page that begins a stream after pages that do not begins a new link
    // of the chain; the pages that begin streams side by side come first.
    bool pastHeaders = true;
    while (streams <= limit) {
        ogg_page page;
        const long step = ogg_sync_pageseek(&sync, &page);
        if (step == 0) {
            char* buffer = ogg_sync_buffer(&sync, chunkBytes);
            const std::size_t got = buffer ? std::fread(buffer, 1, chunkBytes, file) : 0;
            if (got == 0)
                break;
            ogg_sync_wrote(&sync, static_cast<long>(got));
        } else if (step > 0) {
            const bool begins = ogg_page_bos(&page) != 0;
            if (begins && pastHeaders)
                ++streams;
            pastHeaders = !begins;
        }
    }
    ogg_sync_clear(&sync);
    std::rewind(file);
    return streams;
}
