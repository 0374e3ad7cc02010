// The page runs on the browser's one thread: threads would need a host that
// sends cross-origin isolation headers, which most static hosts do not. A
// thread is never started; its owner finds it has none and does the work on
// the main loop.
#include "platform/Thread.h"

#include <iostream>

Thread::~Thread() = default;

void Thread::startThread(Thread*)
{
    std::cout << "Thread: the page runs no threads; the work stays on the main loop."
              << std::endl;
}

int Thread::threadMethod(void* target)
{
    return static_cast<Thread*>(target)->run() ? 1 : 0;
}

void Thread::waitForThread() {}

bool Thread::systemRunsThreads()
{
    return false;
}
