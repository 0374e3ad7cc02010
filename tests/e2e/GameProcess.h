#pragma once

// The built game as a player starts it: a process of its own on an X server
// of its own (so that no other test's window can cover it in a screenshot),
// with a home folder of its own, watched and steered with the X tools a
// person would script (xdotool, ImageMagick's import).

#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

// A sanitized game unloads the GL driver and ALSA's plugins before the leak
// check runs, which then blames their bookkeeping on nameless modules that
// no suppression can name. The game's own code is leak-checked in-process
// by ApplicationTest, so the processes started from here do not check.
inline const bool gameLeakCheckOff = [] {
    const char* options = std::getenv("ASAN_OPTIONS");
    const std::string value = std::string(options ? options : "") + ":detect_leaks=0";
    return setenv("ASAN_OPTIONS", value.c_str(), 1) == 0;
}();

inline void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Waits up to timeoutMs for a child to end; its exit status, -1 when it is
// still running, -2 - signal when a signal ended it.
inline int waitForExit(pid_t pid, int timeoutMs)
{
    for (int waited = 0;; waited += 20) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2 - WTERMSIG(status);
        if (done < 0 || waited >= timeoutMs)
            return -1;
        sleepMs(20);
    }
}

// An Xvfb server on the first free display number.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            name = ":" + number;
    }
    ~PrivateDisplay()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", or empty when the server did not start.
    std::string name;

private:
    pid_t pid = -1;
};

// A picture read back from the screen, RGB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

class GameProcess {
public:
    // home holds the settings and the output; extraEnv is set on top.
    GameProcess(std::string home, std::vector<std::string> args,
                std::vector<std::pair<std::string, std::string>> extraEnv = {})
        : home(std::move(home)), args(std::move(args)), extraEnv(std::move(extraEnv))
    {
    }
    ~GameProcess() { kill(); }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    void start(const std::string& displayName)
    {
        display = displayName;
        outputPath = home + "/game-output.txt";
        pid = fork();
        if (pid == 0) {
            const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(out, 1);
            dup2(out, 2);
            // As a game started from a terminal finds them, whatever the test
            // runner left behind (a background job ignores interrupts).
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
            setenv("DISPLAY", display.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "x11", 1);
            // As a game started from a terminal finds them, whatever the
            // test runner left behind (a background job ignores SIGINT).
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            for (const auto& entry : extraEnv)
                setenv(entry.first.c_str(), entry.second.c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& word : args)
                argv.push_back(&word[0]);
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }

    // Waits for the game's window; false when the game ended first or no
    // window came within the time.
    bool waitForWindow(int timeoutMs = 30000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            const CommandResult found = x("xdotool search --name '^Brick Voyager$'");
            if (found.status == 0 && !found.output.empty()) {
                window = found.output.substr(0, found.output.find('\n'));
                return true;
            }
            if (exitStatus == -1) {
                int status = 0;
                if (waitpid(pid, &status, WNOHANG) == pid) {
                    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2 - WTERMSIG(status);
                    return false;
                }
            }
            sleepMs(100);
        }
        return false;
    }

    // Starts the game and waits for its window; the virtual display now and
    // then refuses a connection, so a start that got no window is tried once
    // more on a fresh server.
    bool startWithWindow()
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            servers.emplace_back(std::make_unique<PrivateDisplay>());
            if (servers.back()->name.empty())
                continue;
            start(servers.back()->name);
            if (waitForWindow())
                return true;
            std::cout << "GameProcess: no window on try " << attempt + 1 << ":\n" << output() << std::endl;
            kill();
            exitStatus = -1;
        }
        return false;
    }

    // A command for the game's X server.
    CommandResult x(const std::string& command) const
    {
        return runCommand("DISPLAY=" + display + " " + command + " 2>&1");
    }

    // Gives the window the keyboard, as a click into it would.
    void focus() const
    {
        x("xdotool mousemove --window " + window + " 20 20");
        x("xdotool windowfocus --sync " + window);
    }

    void key(const std::string& action, const std::string& name) const
    {
        x("xdotool " + action + " " + name);
    }

    // The window's picture; empty when it could not be taken.
    Picture screenshot(const std::string& path) const
    {
        Picture picture;
        if (x("import -window " + window + " PNG24:" + path).status != 0)
            return picture;
        const ImageData data = ImageLoader().loadImage(path);
        picture.width = data.width;
        picture.height = data.height;
        for (int i = 0; i < data.width * data.height; ++i)
            picture.rgb.insert(picture.rgb.end(), {data.pixels[i * 4], data.pixels[i * 4 + 1], data.pixels[i * 4 + 2]});
        return picture;
    }

    // Exit status after at most timeoutMs (see waitForExit).
    int wait(int timeoutMs = 20000)
    {
        if (exitStatus == -1 && pid > 0)
            exitStatus = waitForExit(pid, timeoutMs);
        return exitStatus;
    }

    void signal(int number) const { ::kill(pid, number); }

    void kill()
    {
        if (pid > 0 && exitStatus == -1) {
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }

    std::string output() const { return readFile(outputPath); }

    pid_t pid = -1;
    std::string window;
    // The built game, or a copy of it installed beside other resources.
    std::string program = BV_GAME_PATH;

private:
    std::string home;
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> extraEnv;
    std::string display;
    std::string outputPath;
    int exitStatus = -1;
    std::vector<std::unique_ptr<PrivateDisplay>> servers;
};

// A JACK server answers (the one JACK_DEFAULT_SERVER names, if set).
inline bool jackRunning()
{
    return runCommand("jack_lsp > /dev/null 2>&1").status == 0;
}

// The pale green ground, (192, 255, 192), give or take.
inline bool isGround(const unsigned char* p)
{
    return std::abs(p[0] - 192) <= 8 && p[1] >= 247 && std::abs(p[2] - 192) <= 8;
}

inline double groundShare(const Picture& picture)
{
    long ground = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ground += isGround(picture.at(x, y));
    return picture.width == 0 ? 0.0 : double(ground) / (double(picture.width) * picture.height);
}

// Screenshots until the middle of the window (where the vignette is clear)
// shows the ground, for up to 40 s; the last one taken.
inline Picture waitForGround(const GameProcess& game, const std::string& path)
{
    Picture picture;
    for (int tries = 0; tries < 40; ++tries) {
        sleepMs(1000);
        picture = game.screenshot(path);
        if (picture.width > 400 && picture.height > 240 && isGround(picture.at(picture.width / 2, 240)))
            break;
    }
    return picture;
}

} // namespace e2e
