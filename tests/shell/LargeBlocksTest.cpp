#include "app/LargeBlocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

using namespace fenwold;

// After a large block is freed, a later block of half a megabyte still gets its own pages (and
// gives them back when freed) rather than coming from the heap, where it would stay resident.
TEST(LargeBlocks, StayOutOfTheHeapAfterALargerOneIsFreed) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator stands in for the C library's";
#endif
    giveLargeBlocksTheirOwnPages();
    void* large = std::malloc(8 << 20);
    ASSERT_NE(large, nullptr);
    std::free(large);
    const std::size_t mappedBefore = ::mallinfo2().hblkhd;
    void* block = std::malloc(512 << 10);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(::mallinfo2().hblkhd, mappedBefore + (512 << 10));
    std::free(block);
    EXPECT_EQ(::mallinfo2().hblkhd, mappedBefore);
}
