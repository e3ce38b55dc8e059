#include "LargeBlocks.h"

#include <cstdlib> // names the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fenwold {

void giveLargeBlocksTheirOwnPages() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the allocator from moving it; 128 KiB is its starting value.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace fenwold
