#include "platform/Thread.h"

#include <SDL.h>
#include <SDL_thread.h>

#include <iostream>

Thread::~Thread()
{
    waitForThread();
}

void Thread::startThread(Thread* target)
{
    if (handle)
        return;
    handle = SDL_CreateThread(&Thread::threadMethod, target);
    if (!handle)
        std::cout << "Could not create thread.  Assuming this is a fatal error..." << std::endl;
}

int Thread::threadMethod(void* target)
{
    return static_cast<Thread*>(target)->run() ? 1 : 0;
}

void Thread::waitForThread()
{
    if (!handle)
        return;
    SDL_WaitThread(handle, nullptr);
    handle = nullptr;
}

bool Thread::systemRunsThreads()
{
    return true;
}
