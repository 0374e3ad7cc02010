// Runs the real game under the current X display and reports how it paces:
// the time from start to the first presented frame, the mean and 99th
// percentile of the interval between presented frames against the 30 ms
// target, the CPU time per frame (all threads) and the resident memory.
//   BrickVoyagerGameBench [--frames N] [-- game options]
// Default game options: --windowed -w 1024 -h 768 --nosound. The game gets a
// home folder of its own, so the player's settings are left alone.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const double targetMs = 30.0;

long long nowNs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Tap {
    long long cpuUs = 0;
    long rssKb = 0;
    long hwmKb = 0;
    std::vector<long long> frames;
};

bool readTap(const fs::path& path, Tap& tap)
{
    std::ifstream in(path);
    std::string key;
    while (in >> key) {
        if (key == "cpu_us")
            in >> tap.cpuUs;
        else if (key == "rss_kb")
            in >> tap.rssKb;
        else if (key == "hwm_kb")
            in >> tap.hwmKb;
        else if (key == "frame") {
            long long t = 0;
            in >> t;
            tap.frames.push_back(t);
        }
    }
    return tap.frames.size() >= 2;
}

int usage()
{
    std::cout << "Usage: BrickVoyagerGameBench [--frames N] [-- game options]" << std::endl;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int frames = 600;
    std::vector<std::string> gameArgs = {"--windowed", "-w", "1024", "-h", "768", "--nosound"};
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--frames" && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
        } else if (word == "--") {
            gameArgs.assign(argv + i + 1, argv + argc);
            break;
        } else {
            return usage();
        }
    }
    if (frames < 2)
        return usage();
    if (!std::getenv("DISPLAY")) {
        std::cout << "GameBench: no X display; run it under xvfb-run." << std::endl;
        return 1;
    }

    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const fs::path game = here / "BrickVoyager";
    const fs::path tap = here / "libBrickVoyagerFrameTap.so";
    if (!fs::exists(game) || !fs::exists(tap)) {
        std::cout << "GameBench: " << game << " or " << tap << " is missing; build them first." << std::endl;
        return 1;
    }
    char homeTemplate[] = "/tmp/bv-game-bench-XXXXXX";
    if (!mkdtemp(homeTemplate)) {
        std::cout << "GameBench: no temporary folder." << std::endl;
        return 1;
    }
    const fs::path home = homeTemplate;
    const fs::path out = home / "frames.txt";
    const fs::path log = home / "game-output.txt";

    const long long started = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        std::FILE* output = std::freopen(log.c_str(), "w", stdout);
        if (output)
            dup2(fileno(stdout), 2);
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        setenv("LD_PRELOAD", tap.c_str(), 1);
        setenv("BV_FRAMETAP_OUT", out.c_str(), 1);
        setenv("BV_FRAMETAP_FRAMES", std::to_string(frames).c_str(), 1);
        std::vector<char*> words{const_cast<char*>(game.c_str())};
        for (std::string& word : gameArgs)
            words.push_back(&word[0]);
        words.push_back(nullptr);
        execv(game.c_str(), words.data());
        _exit(127);
    }

    // The frames take about frames x 30 ms; allow the start and a slow machine.
    const long long deadline = started + (20LL + frames / 10) * 1000000000LL;
    bool ended = false;
    while (!fs::exists(out) && nowNs() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            ended = true;
            break;
        }
        usleep(50 * 1000);
    }
    if (!ended) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

    Tap result;
    if (!readTap(out, result)) {
        std::cout << "GameBench: the game presented no " << frames << " frames; its output:" << std::endl;
        std::ifstream in(log);
        std::cout << in.rdbuf() << std::endl;
        fs::remove_all(home);
        return 1;
    }
    fs::remove_all(home);

    std::vector<double> intervals;
    for (std::size_t i = 1; i < result.frames.size(); ++i)
        intervals.push_back((result.frames[i] - result.frames[i - 1]) / 1e6);
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    double total = 0.0;
    for (double ms : intervals)
        total += ms;
    const double mean = total / intervals.size();
    const std::size_t p99Index =
        std::min(sorted.size() - 1, static_cast<std::size_t>(0.99 * sorted.size()));
    const long below = std::count_if(intervals.begin(), intervals.end(),
                                     [](double ms) { return ms < targetMs - 0.5; });

    std::string options;
    for (const std::string& word : gameArgs)
        options += " " + word;
    std::printf("Brick Voyager game benchmark: %zu frame intervals, options:%s\n", intervals.size(),
                options.c_str());
    std::printf("  start to first presented frame: %.1f ms\n", (result.frames[0] - started) / 1e6);
    std::printf("  frame interval (target %.0f ms): mean %.2f ms, 99th percentile %.2f ms, "
                "min %.2f ms, max %.2f ms, %ld below %.1f ms\n",
                targetMs, mean, sorted[p99Index], sorted.front(), sorted.back(), below, targetMs - 0.5);
    std::printf("  frames per second: %.2f\n", 1000.0 / mean);
    std::printf("  CPU time per frame (all threads): %.2f ms\n",
                result.cpuUs / 1000.0 / intervals.size());
    std::printf("  resident memory: %.1f MiB at the last frame, %.1f MiB peak\n", result.rssKb / 1024.0,
                result.hwmKb / 1024.0);
    return 0;
}
