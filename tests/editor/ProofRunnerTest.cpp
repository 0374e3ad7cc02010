#include <gtest/gtest.h>

#include <string>

#include "editor/ProofRunner.h"
#include "game/GamePlay.h"
#include "platform/SteadyClock.h"

namespace {

std::string keysOf(const std::vector<RouteSearch::Action>& route)
{
    std::string keys;
    for (const RouteSearch::Action& action : route)
        keys += static_cast<char>('a' + action.held * 2 + (action.up ? 1 : 0));
    return keys;
}

std::string proveAlone(const PlaneProof::Screens& screens)
{
    PlaneProof proof(screens);
    while (proof.advance(100000) == RouteSearch::Status::Searching) {
    }
    return keysOf(proof.route());
}

}  // namespace

// Both ways of running, each given a second plane while it proves the
// first, then the first again: what status() says is only ever of the plane
// last given, its answer the route the proof alone finds, never the answer
// of the plane before. The runner is destroyed in the middle of its last
// proof.
TEST(ProofRunnerTest, OnlyTheLastPlaneGivenIsAnsweredAndSlicesAnswerAsTheThreadDoes)
{
    const GamePlay shipped(BV_SOURCE_DIR "/resources/levels.xml");
    const PlaneProof::Screens longer = PlaneProof::screensOf(shipped, 0);
    const PlaneProof::Screens shorter = PlaneProof::screensOf(shipped, 3);
    const std::string expected = proveAlone(shorter);
    ASSERT_FALSE(expected.empty());
    for (ProofRunner::Mode mode : {ProofRunner::Mode::Threaded, ProofRunner::Mode::Sliced}) {
        SCOPED_TRACE(mode == ProofRunner::Mode::Threaded ? "threaded" : "sliced");
        ProofRunner runner(mode);
        const auto answerOf = [&runner](unsigned proofNumber) {
            ProofRunner::Status status = runner.status();
            // Ten minutes at the most, on the slowest machine.
            for (int wait = 0; wait < 600000 && status.state == ProofRunner::State::Searching; ++wait) {
                runner.update();
                if (runner.mode() == ProofRunner::Mode::Threaded)
                    SteadyClock::sleepMicroseconds(1000);
                status = runner.status();
                EXPECT_EQ(status.proofNumber, proofNumber);
            }
            return status;
        };
        runner.prove(longer);
        runner.update();
        runner.prove(shorter);
        const ProofRunner::Status status = answerOf(2);
        EXPECT_EQ(status.state, ProofRunner::State::Found);
        EXPECT_EQ(keysOf(status.route), expected);
        runner.prove(longer);
        const ProofRunner::Status fresh = runner.status();
        EXPECT_EQ(fresh.proofNumber, 3u);
        EXPECT_NE(keysOf(fresh.route), expected);
        runner.update();
    }
}
