#include "heap_policy.h"

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Large enough that no frame's worth of freed blocks is ever trimmed away.
constexpr int kTrimThreshold = 256 * 1024 * 1024;
// Blocks below this come from the reusable heap instead of fresh mappings
// that are unmapped again on free (glibc allows up to 32 MB here).
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
