#pragma once

struct SDL_Thread;

// Base of every object that owns a thread of its own. A derived class supplies
// run() and starts the thread once; destruction waits for run() to return and
// never cancels it, so a derived destructor must make run() return first and
// keep everything run() uses alive until then. A thread SDL cannot create is
// reported on standard output and the object simply has none.
class Thread {
public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    virtual ~Thread();

    // The body executed on the new thread; true becomes exit status 1.
    virtual bool run() = 0;

    // Starts a thread running target->run(); does nothing if this object has
    // already started one.
    void startThread(Thread* target);
    // A thread was started and not yet waited for; false where the system
    // could not start one (or runs none), and its owner does the work itself.
    bool hasThread() const { return handle != nullptr; }

    static int threadMethod(void* target);

    // Whether this system runs threads at all (the page does not): work that
    // would have one does itself in slices of the main loop where not.
    static bool systemRunsThreads();

protected:
    // Waits for the thread now; later calls and the destructor then do nothing.
    // A derived class that must release what run() uses calls this first.
    void waitForThread();

private:
    SDL_Thread* handle = nullptr;
};
