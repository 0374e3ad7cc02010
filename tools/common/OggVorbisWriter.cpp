#include "OggVorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <algorithm>

namespace {

bool writePages(std::FILE* out, ogg_stream_state& stream, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, out) != static_cast<size_t>(page.header_len)
            || std::fwrite(page.body, 1, page.body_len, out) != static_cast<size_t>(page.body_len))
            return false;
    }
    return true;
}

bool encodeStream(std::FILE* out, const VorbisStream& source, int serial, float quality)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (source.channels < 1
        || vorbis_encode_init_vbr(&info, source.channels, source.sampleRate, quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    ogg_packet identification, commentHeader, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &commentHeader, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codebooks);
    // The headers end on a page of their own, as decoders expect.
    bool ok = writePages(out, stream, true);

    auto drain = [&] {
        while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                ok = writePages(out, stream, false);
            }
        }
    };
    const long frames = static_cast<long>(source.samples.size()) / source.channels;
    const long chunk = 4096;
    for (long start = 0; ok && start < frames; start += chunk) {
        const long count = std::min(chunk, frames - start);
        float** input = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (long frame = 0; frame < count; ++frame)
            for (int channel = 0; channel < source.channels; ++channel)
                input[channel][frame] = source.samples[(start + frame) * source.channels + channel];
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
    }
    // A count of zero tells the encoder that the stream ends.
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    ok = ok && writePages(out, stream, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return ok;
}

} // namespace

bool writeOggVorbis(const std::string& path, const std::vector<VorbisStream>& streams,
                    float quality)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool ok = true;
    int serial = 1;
    for (const VorbisStream& source : streams)
        ok = ok && encodeStream(out, source, serial++, quality);
    ok = std::fclose(out) == 0 && ok;
    if (!ok)
        std::remove(path.c_str());
    return ok;
}
