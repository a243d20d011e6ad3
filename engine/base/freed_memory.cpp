#include "engine/base/freed_memory.h"

// Any C library header says whether this is glibc; without one, __GLIBC__ is never defined.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace engine {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // By default the heap's free top goes back to the system beyond a few hundred kilobytes and
    // blocks beyond 128 KiB are mapped and unmapped one by one, so a frame that allocates and
    // frees a few megabytes faults them all in again: twice the frame time of 10,000 small
    // meshes on a virtual machine.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

void returnFreedMemory() {
#if defined(__GLIBC__)
    // Trims every arena, not only the main heap.
    malloc_trim(0);
#endif
}

}  // namespace engine
