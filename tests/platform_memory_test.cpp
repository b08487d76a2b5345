// The prompt that has the allocator merge the small blocks freed so far.
#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/memory.h"

namespace {

// mallinfo2 came with glibc 2.33.
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
// Bytes of freed small blocks that glibc keeps unmerged in its fast bins.
std::size_t UnmergedBytes() { return mallinfo2().fsmblks; }

TEST(MergeFreedBlocks, LeavesNoSmallBlockUnmerged) {
    for (const std::size_t size : {24, 40, 100}) {
        // More blocks of one size than the per-thread cache holds: the rest
        // wait in the fast bins.
        void* blocks[64];
        for (void*& block : blocks) block = std::malloc(size);
        for (void* block : blocks) std::free(block);
    }
    if (UnmergedBytes() == 0) GTEST_SKIP() << "this allocator keeps no fast bins (a sanitizer's, say)";
    kxt::platform::MergeFreedBlocks();
    EXPECT_EQ(UnmergedBytes(), 0u);
}
#endif

}  // namespace
