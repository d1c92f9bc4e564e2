#include "counting_allocator.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

// AddressSanitizer owns malloc itself; replacing it there would bypass its
// checks and crash, so a sanitized build counts nothing.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<long long> g_allocations{0};
std::atomic<long long> g_bytes{0};

void* counted(void* p, size_t size)
{
    if (p) {
        g_allocations.fetch_add(1, std::memory_order_relaxed);
        g_bytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
    }
    return p;
}

}  // namespace

AllocationCount allocationCount() { return {g_allocations.load(), g_bytes.load()}; }

extern "C" {

void* malloc(size_t size) { return counted(__libc_malloc(size), size); }
void free(void* p) { __libc_free(p); }
void* calloc(size_t n, size_t size) { return counted(__libc_calloc(n, size), n * size); }
void* realloc(void* p, size_t size) { return counted(__libc_realloc(p, size), size); }
void* memalign(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size), size); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size)
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = memalign(alignment, size);
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}

}  // extern "C"

#else

AllocationCount allocationCount() { return {-1, -1}; }

#endif
