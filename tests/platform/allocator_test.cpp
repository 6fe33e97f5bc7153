#include "platform/allocator.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

// A page's worth of buffers (Qt's PDF writer and zlib allocate a few hundred kilobytes per page)
// must come from the heap and stay there when freed: by default glibc maps blocks over 128 KB
// afresh and hands a freed heap top back, a system call and fresh zeroed pages per page.
TEST(Allocator, FreedBlocksStayInTheProcess)
{
#if !defined(__GLIBC__)
    GTEST_SKIP() << "the thresholds are glibc's";
#else
    keepFreedMemoryForReuse();
    const struct mallinfo2 before = mallinfo2();
    auto* block = static_cast<volatile char*>(std::malloc(4 * 1024 * 1024));
    ASSERT_NE(block, nullptr);
    block[0] = 1;
    const struct mallinfo2 during = mallinfo2();
    EXPECT_EQ(during.hblks, before.hblks) << "a 4 MB block was mapped on its own";
    std::free(const_cast<char*>(block));
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(after.arena, during.arena) << "the freed block went back to the system";
#endif
}

} // namespace
} // namespace nobrisa
