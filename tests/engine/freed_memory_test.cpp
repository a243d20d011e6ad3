// Freed memory stays in the heap for reuse while the engine runs, and goes back to the system
// when asked. Checked through glibc's own account of its heap.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/base/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
// What the heap could hand back from its top.
std::size_t releasableTop() {
    return mallinfo2().keepcost;
}
#endif

}  // namespace

TEST(FreedMemory, StaysForReuseUntilReturned) {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    const std::size_t block = 8u << 20;
    engine::keepFreedMemoryForReuse();
    void* large = std::malloc(block);
    ASSERT_NE(large, nullptr);
    // Touched, as drawing would, so that the pages exist.
    static_cast<volatile char*>(large)[block - 1] = 1;
    std::free(large);
    // A block this large would otherwise be mapped for itself and unmapped when freed.
    EXPECT_GE(releasableTop(), block);
    engine::returnFreedMemory();
    EXPECT_LT(releasableTop(), block);
#else
    GTEST_SKIP() << "the heap's account is glibc's";
#endif
}
