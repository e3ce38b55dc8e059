#include "FreeMemory.h"

#include <cstdlib> // names the C library

#if defined(__APPLE__)
#include <malloc/malloc.h>
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fenwold {

void returnFreeMemory() {
#if defined(__APPLE__)
    malloc_zone_pressure_relief(nullptr, 0); // every zone, as much as it can
#elif defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace fenwold
