// The page has one thread, so there is never anyone to exclude: the lock is
// always free, and taking it always succeeds.
#include "platform/CriticalSection.h"

CriticalSection::CriticalSection() : semaphore(nullptr) {}

CriticalSection::~CriticalSection() = default;

bool CriticalSection::lock()
{
    return true;
}

void CriticalSection::unlock() {}
