#include "engine/base/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace engine {

void returnFreedMemory() {
#if defined(__GLIBC__)
    // Trims every arena, not only the main heap.
    malloc_trim(0);
#endif
}

}  // namespace engine
