#pragma once

#include <cstdio>

// How many logical streams an Ogg file chains one after another, counted
// with the page reader the decoder itself uses. On opening, the decoder reads
// and keeps the headers of every chained stream, though only the first is
// ever played: thousands of tiny streams in a large file would cost seconds
// and hundreds of megabytes before the first note, so such a file is
// refused before the decoder sees it.
class OggChain {
public:
    // Reads the file from its start until more than limit streams are found
    // or it ends, and puts it back at its start. Streams multiplexed beside
    // each other count once.
    static int countStreams(std::FILE* file, int limit);
};
