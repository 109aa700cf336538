// How many threads the library's passes use when their caller leaves it to them: every core
// on the desktop, one in a browser page without shared memory, where no thread can start.
#pragma once

#include <thread>

inline int UsableCores(void)
{
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return 1;
#else
    const int cores = (int)std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
#endif
}
