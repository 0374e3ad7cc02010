#include "audio/OggFirstStream.h"

#include <ogg/ogg.h>

#include <algorithm>

namespace {

const long chunkBytes = 65536;

// The offset of the first page that begins a stream after a page that does
// not: where a chained file's second stream starts; the length of the file
// when there is none.
long long firstStreamEnd(std::FILE* file)
{
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    long long offset = 0;
    bool pastHeaders = false;
    bool chained = false;
    while (!chained) {
        ogg_page page;
        const long step = ogg_sync_pageseek(&sync, &page);
        if (step < 0) {
            offset -= step;  // bytes skipped in search of a page
        } else if (step == 0) {
            char* buffer = ogg_sync_buffer(&sync, chunkBytes);
            const std::size_t got = buffer ? std::fread(buffer, 1, chunkBytes, file) : 0;
            if (got == 0)
                break;
            ogg_sync_wrote(&sync, static_cast<long>(got));
        } else if (ogg_page_bos(&page) && pastHeaders) {
            chained = true;
        } else {
            pastHeaders = pastHeaders || !ogg_page_bos(&page);
            offset += step;
        }
    }
    ogg_sync_clear(&sync);
    // A file of one stream stays whole, whatever trails its last page.
    if (!chained && std::fseek(file, 0, SEEK_END) == 0)
        offset = std::max(offset, static_cast<long long>(std::ftell(file)));
    std::rewind(file);
    return offset;
}

}  // namespace

OggFirstStream::OggFirstStream(std::FILE* file) : file(file), end(firstStreamEnd(file)) {}

OggFirstStream::~OggFirstStream()
{
    std::fclose(file);
}

ov_callbacks OggFirstStream::callbacks()
{
    return ov_callbacks{&OggFirstStream::read, &OggFirstStream::seek, nullptr, &OggFirstStream::tell};
}

std::size_t OggFirstStream::read(void* buffer, std::size_t size, std::size_t count, void* source)
{
    OggFirstStream& self = *static_cast<OggFirstStream*>(source);
    const long long position = std::ftell(self.file);
    if (size == 0 || position < 0 || position >= self.end)
        return 0;
    const long long left = (self.end - position) / static_cast<long long>(size);
    return std::fread(buffer, size, std::min(count, static_cast<std::size_t>(left)), self.file);
}

int OggFirstStream::seek(void* source, ogg_int64_t offset, int whence)
{
    OggFirstStream& self = *static_cast<OggFirstStream*>(source);
    long long target = offset;
    if (whence == SEEK_CUR)
        target += std::ftell(self.file);
    else if (whence == SEEK_END)
        target += self.end;
    if (target < 0)
        return -1;
    return fseeko(self.file, static_cast<off_t>(std::min<long long>(target, self.end)), SEEK_SET);
}

long OggFirstStream::tell(void* source)
{
    return std::ftell(static_cast<OggFirstStream*>(source)->file);
}
