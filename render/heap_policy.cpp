#include "heap_policy.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Large enough that no frame's worth of freed blocks is ever trimmed away.
constexpr int kTrimThreshold = 256 * 1024 * 1024;
// glibc's ceiling for the mmap threshold on 64-bit targets: blocks below it
// come from the reusable heap instead of fresh mappings.
constexpr int kMmapThreshold = 32 * 1024 * 1024;

}  // namespace

bool keepDriverHeap()
{
#if defined(__GLIBC__)
    // Setting either value also stops glibc from adjusting it on its own.
    const bool trim = mallopt(M_TRIM_THRESHOLD, kTrimThreshold) == 1;
    const bool mmap = mallopt(M_MMAP_THRESHOLD, kMmapThreshold) == 1;
    return trim && mmap;
#else
    return false;
#endif
}
