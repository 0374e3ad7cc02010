#pragma once

// The built game as a player starts it: a process of its own on an X server
// of its own (so that no other test's window can cover it in a screenshot),
// with a home folder of its own for its settings, state and output, whose
// sound goes to a null device, watched and steered with the X tools a person
// would script (xdotool, ImageMagick's import).

#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class GameProcess {
public:
    GameProcess(std::string home, std::vector<std::string> args) : home(std::move(home)), args(std::move(args)) {}
    ~GameProcess()
    {
        kill();
        for (const pid_t server : servers)
            ::kill(server, SIGTERM);
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts an Xvfb server on the first free display number, then the game
    // on it; false when the server did not start within 10 s.
    bool start()
    {
        const std::string numberFile = home + "/display-" + std::to_string(servers.size());
        servers.push_back(std::stoi(runCommand("Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp > '" +
                                               numberFile + "' 2> /dev/null & echo $!")
                                        .output));
        for (int waited = 0; waited < 10000 && !contains(readFile(numberFile), "\n"); waited += 50)
            sleepMs(50);
        const std::string number = readFile(numberFile);
        if (!contains(number, "\n"))
            return false;
        display = ":" + number.substr(0, number.find('\n'));
        writeNullSoundDevice(home);
        exitStatus = -1;
        const std::string outputFile = outputPath();
        pid = fork();
        if (pid == 0) {
            const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(out, 1);
            dup2(out, 2);
            // As a game started from a terminal finds them, whatever the test
            // runner left behind (a background job ignores interrupts).
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
            unsetenv("XDG_STATE_HOME");
            setenv("DISPLAY", display.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "x11", 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& word : args)
                argv.push_back(&word[0]);
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        return true;
    }

    // Starts the game and waits up to 30 s for its window; the virtual
    // display now and then refuses a connection, so a start that got no
    // window is tried once more on a fresh server.
    bool startWithWindow()
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!start())
                continue;
            for (int waited = 0; waited < 30000 && wait(0) == -1; waited += 100) {
                const CommandResult found = x("xdotool search --name '^Brick Voyager$'");
                if (found.status == 0 && !found.output.empty()) {
                    window = found.output.substr(0, found.output.find('\n'));
                    return true;
                }
                sleepMs(100);
            }
            std::cout << "GameProcess: no window on try " << attempt + 1 << ":\n" << output() << std::endl;
            kill();
        }
        return false;
    }

    // A command for the game's X server.
    CommandResult x(const std::string& command) const
    {
        return runCommand("DISPLAY=" + display + " " + command + " 2>&1");
    }

    // Gives the window the keyboard, as a click into it would, and presses
    // the keys named.
    void press(const std::string& keys) const
    {
        x("xdotool mousemove --window " + window + " 20 20");
        x("xdotool windowfocus --sync " + window);
        x("xdotool key " + keys);
    }

    // Presses the left button at one point of the window, moves through the
    // middle to the other and lets go there, as a hand drags.
    void drag(int fromX, int fromY, int toX, int toY) const
    {
        const auto to = [this](int px, int py) {
            return " mousemove --window " + window + " " + std::to_string(px) + " " + std::to_string(py);
        };
        x("xdotool" + to(fromX, fromY) + " mousedown 1" + to((fromX + toX) / 2, (fromY + toY) / 2) +
          to(toX, toY) + " mouseup 1");
    }

    // The window's picture (RGBA); empty when it could not be taken.
    ImageData screenshot(const std::string& path) const
    {
        if (x("import -window " + window + " PNG24:" + path).status != 0)
            return ImageData();
        return ImageLoader().loadImage(path);
    }

    // The exit status after at most timeoutMs; -1 while the game still runs,
    // -2 - the signal's number when a signal ended it.
    int wait(int timeoutMs = 20000)
    {
        for (int waited = 0; exitStatus == -1 && pid > 0 && waited <= timeoutMs; waited += 20) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2 - WTERMSIG(status);
            else if (waited < timeoutMs)
                sleepMs(20);
        }
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

    std::string output() const { return readFile(outputPath()); }

    // The game ended by itself with status 0 (the loop ended and the
    // destructor ran, rather than death by a signal), reporting no error.
    void expectCleanEnd()
    {
        EXPECT_EQ(wait(), 0) << output();
        EXPECT_FALSE(contains(output(), "Error")) << output();
    }

    pid_t pid = -1;
    // The built game, or a copy of it installed beside other resources.
    std::string program = BV_GAME_PATH;

private:
    std::string outputPath() const { return home + "/game-output.txt"; }

    std::string home;
    std::vector<std::string> args;
    std::string display;
    std::string window;
    int exitStatus = -1;
    std::vector<pid_t> servers;
};

} // namespace e2e
