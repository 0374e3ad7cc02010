#include "platform/CriticalSection.h"

#include <SDL.h>
#include <SDL_thread.h>

#include <iostream>

CriticalSection::CriticalSection() : semaphore(SDL_CreateSemaphore(1))
{
    if (!semaphore)
        std::cout << "Critical Section: Could not create semaphore!" << std::endl;
}

CriticalSection::~CriticalSection()
{
    if (semaphore)
        SDL_DestroySemaphore(semaphore);
}

bool CriticalSection::lock()
{
    if (!semaphore)
        return false;
    return SDL_SemWait(semaphore) == 0;
}

void CriticalSection::unlock()
{
    if (semaphore)
        SDL_SemPost(semaphore);
}
