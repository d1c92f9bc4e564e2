// The heap policy reaches glibc: after it, a block of megabytes comes from the
// heap rather than a mapping of its own, and freeing it keeps the heap.
#include <gtest/gtest.h>

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstring>

#include "heap_policy.h"

#if defined(__GLIBC__)
TEST(HeapPolicy, LargeBlocksStayInTheHeapAndFreeingKeepsIt)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps its own heap; glibc's is not used";
#endif
    ASSERT_TRUE(keepDriverHeap());
    const struct mallinfo2 before = mallinfo2();
    constexpr size_t kBlock = 4 * 1024 * 1024;  // glibc would map this by default
    void* block = std::malloc(kBlock);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, kBlock);
    const struct mallinfo2 held = mallinfo2();
    EXPECT_EQ(held.hblks, before.hblks) << "the block was mapped on its own";
    EXPECT_GE(held.arena, before.arena + kBlock);
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(after.arena, held.arena) << "the heap was trimmed";
    EXPECT_GE(after.fordblks, kBlock) << "the freed block waits for reuse";
}
#else
TEST(HeapPolicy, OnlyGlibcIsTold)
{
    EXPECT_FALSE(keepDriverHeap());
}
#endif
