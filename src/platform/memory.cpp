// Handing freed memory back to the system, where the allocator allows it.
#include "platform/memory.h"

#include <cstddef>
#include <cstdlib>  // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plat {

void Release_Free_Memory() {
#if defined(__GLIBC__)
    // Handed back a little at a time, the pages come straight back as faults when the next part
    // takes them: what the allocator holds free is given back once it is worth it.
    constexpr size_t Worth = size_t{64} << 20;
    if (mallinfo2().fordblks >= Worth) malloc_trim(0);
#endif
}

}  // namespace plat
