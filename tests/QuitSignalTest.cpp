#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>

namespace {

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

class QuitSignalTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

class QuitSignalByKindTest : public QuitSignalTest, public ::testing::WithParamInterface<int> {};

} // namespace

// A quit request from the platform (Ctrl+C in the terminal, a session ending,
// kill) must end the main loop like the window's close control: SDL turns the
// signal into SDL_QUIT while its video part runs, so the game needs no
// handler of its own.
TEST_P(QuitSignalByKindTest, SignalArrivesAsQuitEventWhileVideoRuns)
{
    ASSERT_EQ(std::raise(GetParam()), 0);
    EXPECT_TRUE(quitArrives());
}

TEST_F(QuitSignalTest, QueueHoldsNoQuitWithoutSignal)
{
    EXPECT_FALSE(quitArrives());
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitSignalByKindTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? std::string("Interrupt")
                                                         : std::string("Terminate");
                         });
