#include "editor/ProofRunner.h"

#include "platform/FreedMemory.h"
#include "platform/SteadyClock.h"

namespace {

// Frames of play between looks at the stop flag and the clock: about a
// tenth of a millisecond of search.
constexpr long framesPerStep = 1000;

ProofRunner::State stateOf(RouteSearch::Status status)
{
    switch (status) {
    case RouteSearch::Status::Found:
        return ProofRunner::State::Found;
    case RouteSearch::Status::NoRoute:
        return ProofRunner::State::NoRoute;
    case RouteSearch::Status::GaveUp:
        return ProofRunner::State::GaveUp;
    case RouteSearch::Status::Searching:
        break;
    }
    return ProofRunner::State::Searching;
}

}  // namespace

ProofRunner::ProofRunner() : ProofRunner(Thread::systemRunsThreads() ? Mode::Threaded : Mode::Sliced) {}

ProofRunner::ProofRunner(Mode mode) : chosenMode(mode) {}

ProofRunner::~ProofRunner()
{
    stopSearch();
    proof.reset();
    FreedMemory::giveBack();
}

void ProofRunner::stopSearch()
{
    stopRequested = true;
    waitForThread();
    stopRequested = false;
}

void ProofRunner::prove(const PlaneProof::Screens& screens)
{
    stopSearch();
    proof = std::make_unique<PlaneProof>(screens);
    {
        CriticalSection::ScopedLock held(lock);
        Status fresh;
        fresh.state = State::Searching;
        fresh.proofNumber = published.proofNumber + 1;
        fresh.maxFrames = PlaneProof::defaultOptions().maxFrames;
        fresh.furthest = proof->furthest();
        published = fresh;
    }
    if (chosenMode == Mode::Threaded) {
        startThread(this);
        if (!hasThread())
            chosenMode = Mode::Sliced;
    }
}

bool ProofRunner::run()
{
    RouteSearch::Status status = RouteSearch::Status::Searching;
    while (status == RouteSearch::Status::Searching && !stopRequested) {
        status = proof->advance(framesPerStep);
        publish(status);
    }
    // The search let its tables go as it ended.
    if (status != RouteSearch::Status::Searching)
        FreedMemory::giveBack();
    return false;
}

void ProofRunner::update(std::uint64_t slice)
{
    if (chosenMode != Mode::Sliced || !proof || proof->status() != RouteSearch::Status::Searching)
        return;
    const std::uint64_t started = SteadyClock::microseconds();
    RouteSearch::Status status = RouteSearch::Status::Searching;
    do
        status = proof->advance(framesPerStep);
    while (status == RouteSearch::Status::Searching && SteadyClock::microseconds() - started < slice);
    publish(status);
    if (status != RouteSearch::Status::Searching)
        FreedMemory::giveBack();
}

void ProofRunner::publish(RouteSearch::Status searchStatus)
{
    CriticalSection::ScopedLock held(lock);
    published.state = stateOf(searchStatus);
    published.framesSearched = proof->framesSearched();
    published.furthest = proof->furthest();
    if (searchStatus == RouteSearch::Status::Found)
        published.route = proof->route();
}

ProofRunner::Status ProofRunner::status() const
{
    CriticalSection::ScopedLock held(lock);
    return published;
}
