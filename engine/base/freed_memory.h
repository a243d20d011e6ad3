// What becomes of memory the process frees. Between loads the C library keeps it for reuse:
// drawing frees and takes back the same blocks every frame, and handing them to the system and
// faulting them in again costs more than the drawing where page faults are dear (virtual
// machines). After a load or a release it all goes back, so that it does not stay resident.
#pragma once

namespace engine {

// Keeps freed memory for reuse until returnFreedMemory; called when the engine starts.
void keepFreedMemoryForReuse();
// Hands memory the process freed back to the system. Loading decodes files on short-lived
// threads, and the C library keeps what each thread's allocator arena freed for reuse; after a
// load or a release that would stay resident for good.
void returnFreedMemory();

}  // namespace engine
