// Preloaded into the game by the benchmark: stands in front of SDL's buffer
// swap, notes the monotonic time at which each frame has been presented and,
// once BV_FRAMETAP_FRAMES intervals are noted, writes them with the process's
// CPU time over those frames and its memory to the file BV_FRAMETAP_OUT.
// Without those variables it only passes the swap on.
#include <dlfcn.h>
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int maxFrames = 100000;
long long presented[maxFrames + 1];
int count = 0;
int wanted = -1;
rusage atFirstFrame;

long long nowNs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

long long cpuUs(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec +
           usage.ru_stime.tv_usec;
}

// A "VmRSS:" style line of /proc/self/status, in kB; -1 when missing.
long statusKb(const char* key)
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, key, std::strlen(key)) == 0)
            value = std::atol(line + std::strlen(key));
    std::fclose(status);
    return value;
}

void report(const char* path)
{
    rusage end;
    getrusage(RUSAGE_SELF, &end);
    const std::string partial = std::string(path) + ".partial";
    FILE* out = std::fopen(partial.c_str(), "w");
    if (!out)
        return;
    std::fprintf(out, "cpu_us %lld\nrss_kb %ld\nhwm_kb %ld\n", cpuUs(end) - cpuUs(atFirstFrame),
                 statusKb("VmRSS:"), statusKb("VmHWM:"));
    for (int i = 0; i < count; ++i)
        std::fprintf(out, "frame %lld\n", presented[i]);
    std::fclose(out);
    std::rename(partial.c_str(), path);
}

} // namespace

extern "C" void SDL_GL_SwapBuffers(void)
{
    using Swap = void (*)();
    static const Swap swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (swap)
        swap();
    if (wanted < 0) {
        const char* frames = std::getenv("BV_FRAMETAP_FRAMES");
        wanted = frames ? std::atoi(frames) : 0;
        if (wanted > maxFrames)
            wanted = maxFrames;
    }
    const char* path = std::getenv("BV_FRAMETAP_OUT");
    if (!path || wanted <= 0 || count > wanted)
        return;
    presented[count] = nowNs();
    if (count == 0)
        getrusage(RUSAGE_SELF, &atFirstFrame);
    if (++count == wanted + 1)
        report(path);
}
