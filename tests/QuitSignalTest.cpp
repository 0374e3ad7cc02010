#include <SDL.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

// Child exit codes.
const int quitCame = 0;
const int noQuit = 1;
const int noHandler = 2;
const int noVideo = 3;

bool handlerInstalled(int signal)
{
    struct sigaction current = {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_DFL &&
           current.sa_handler != SIG_IGN;
}

// Pumps the queue for up to a second and answers whether SDL_QUIT came.
bool quitArrives()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT)
                return true;
        SDL_Delay(10);
    }
    return false;
}

// Starts SDL's video in a child process, raises signal there (0: none) and
// reports by exit code. A child of its own each time because, once SDL_Init
// has failed in a process, SDL installs no signal handlers there any more,
// and the virtual display now and then refuses a connection: a refused
// start is simply tried again in a fresh child.
int runChild(int signal)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0) {
            // As a game started from a terminal finds them, whatever the
            // test runner left behind (a background job ignores SIGINT).
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
            if (SDL_Init(SDL_INIT_VIDEO) != 0)
                _exit(noVideo);
            int result = quitCame;
            if (signal != 0 && !handlerInstalled(signal))
                result = noHandler;
            else if (signal != 0 && std::raise(signal) != 0)
                result = noHandler;
            else
                result = quitArrives() ? quitCame : noQuit;
            SDL_Quit();
            _exit(result);
        }
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return -1;
        if (WEXITSTATUS(status) != noVideo)
            return WEXITSTATUS(status);
        usleep(200 * 1000);
    }
    return noVideo;
}

class QuitSignalTest : public ::testing::TestWithParam<int> {};

} // namespace

// A quit request from the platform (Ctrl+C in the terminal, a session ending,
// kill) must end the main loop like the window's close control: SDL turns the
// signal into SDL_QUIT while its video part runs, so the game needs no
// handler of its own.
TEST_P(QuitSignalTest, SignalArrivesAsQuitEventWhileVideoRuns)
{
    EXPECT_EQ(runChild(GetParam()), quitCame);
}

TEST(QuitSignalWithoutSignalTest, QueueHoldsNoQuit)
{
    EXPECT_EQ(runChild(0), noQuit);
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitSignalTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? std::string("Interrupt")
                                                         : std::string("Terminate");
                         });
