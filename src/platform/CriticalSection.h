#pragma once

struct SDL_semaphore;

// A mutual-exclusion lock on an SDL semaphore. Not re-entrant: a holder that
// locks again waits for ever. If SDL cannot make the semaphore, the failure is
// reported once, lock() answers false at once and the lock excludes nothing.
class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    // Waits until the lock is free and takes it; false when there is no
    // semaphore or the wait failed, and then the caller does not hold it.
    bool lock();
    // Frees the lock; only the holder may call it.
    void unlock();

    // Holds the lock for the life of a scope, so no return path can leave it
    // taken.
    class ScopedLock {
    public:
        explicit ScopedLock(CriticalSection& section) : section(section), held(section.lock()) {}
        ~ScopedLock()
        {
            if (held)
                section.unlock();
        }
        ScopedLock(const ScopedLock&) = delete;
        ScopedLock& operator=(const ScopedLock&) = delete;

        bool isHeld() const { return held; }

    private:
        CriticalSection& section;
        const bool held;
    };

private:
    SDL_semaphore* semaphore;
};
