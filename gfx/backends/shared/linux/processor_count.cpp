#include <sched.h>

#include "backends/shared/thread_count.h"

int affinityProcessorCount()
{
#if defined(__EMSCRIPTEN__)
    // The page's build has no threads to draw with.
    return 1;
#else
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    const int count = CPU_COUNT(&set);
    return count > 0 ? count : 1;
#endif
}
