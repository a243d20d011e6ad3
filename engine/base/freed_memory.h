// Hands memory the process freed back to the system. Loading decodes files on short-lived
// threads, and the C library keeps what each thread's allocator arena freed for reuse; after
// a load or a release that would stay resident for good.
#pragma once

namespace engine {

void returnFreedMemory();

}  // namespace engine
