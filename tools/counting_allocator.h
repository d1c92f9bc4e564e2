// A counting allocator for benchmarks: linked into a program, it takes the C
// library's malloc family for the whole process (the GL driver's threads
// included) and counts every allocation, then hands it to glibc.
#pragma once

struct AllocationCount {
    long long allocations;
    long long bytes;
};

// Totals since the process started; -1 where the C library cannot be
// interposed (only glibc can, and not under AddressSanitizer).
AllocationCount allocationCount();
