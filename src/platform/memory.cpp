// Handing freed memory back to the system, where the allocator allows it.
#include "platform/memory.h"

#include <cstdlib>  // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plat {

void Release_Free_Memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace plat
