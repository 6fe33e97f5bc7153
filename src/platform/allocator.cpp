#include "platform/allocator.h"

// <cstddef> brings in the C library's feature macros, __GLIBC__ among them.
#include <cstddef>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace nobrisa {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Setting the thresholds also stops glibc from adjusting them by itself.
    constexpr int kThreshold = 64 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kThreshold);
    mallopt(M_TRIM_THRESHOLD, kThreshold);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
}

} // namespace nobrisa
