#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdio>

// An Ogg file as far as its first logical stream reaches, handed to the
// decoder through its callbacks. Opening a file whose streams are chained,
// the decoder reads and keeps the headers of every stream in it, though
// only the first one is ever played: thousands of tiny streams in a large
// file would cost seconds and hundreds of megabytes before the first note.
// The file stays open, and this object's, until it is destroyed.
class OggFirstStream {
public:
    // Takes the file over and finds, with the same page reader the decoder
    // uses, where the next chained stream begins.
    explicit OggFirstStream(std::FILE* file);
    ~OggFirstStream();
    OggFirstStream(const OggFirstStream&) = delete;
    OggFirstStream& operator=(const OggFirstStream&) = delete;

    // Callbacks over this object as the decoder's data source; they never
    // close the file.
    static ov_callbacks callbacks();

    // Bytes of the file that the decoder sees.
    long long visibleBytes() const { return end; }

private:
    static std::size_t read(void* buffer, std::size_t size, std::size_t count, void* source);
    static int seek(void* source, ogg_int64_t offset, int whence);
    static long tell(void* source);

    std::FILE* file;
    long long end = 0;
};
