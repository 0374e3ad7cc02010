#include "OggVorbisReader.h"

#include <vorbis/vorbisfile.h>

bool readFirstStream(const std::string& path, DecodedMusic& music)
{
    music = DecodedMusic();
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) < 0)
        return false;
    music.channels = ov_info(&file, 0)->channels;
    music.rate = ov_info(&file, 0)->rate;
    // Straight after opening a chained file, libvorbisfile reads from the
    // wrong link; a seek puts it at the start of the first.
    ov_pcm_seek(&file, 0);
    int stream = 0;
    for (;;) {
        float** pcm = nullptr;
        const long read = ov_read_float(&file, &pcm, 4096, &stream);
        if (read <= 0 || stream != 0)
            break;
        music.left.insert(music.left.end(), pcm[0], pcm[0] + read);
        const float* right = music.channels > 1 ? pcm[1] : pcm[0];
        music.right.insert(music.right.end(), right, right + read);
    }
    ov_clear(&file);
    return true;
}
