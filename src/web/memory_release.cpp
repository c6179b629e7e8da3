#include "web/memory_release.h"

#include <malloc.h>

// Present only when the program links the thread-caching allocator (the sanitizer builds
// bring their own allocator and leave it out).
extern "C" void MallocExtension_ReleaseFreeMemory() __attribute__((weak));
extern "C" void MallocExtension_MarkThreadTemporarilyIdle() __attribute__((weak));

namespace cn::web {

void ReleaseFreeMemory() {
  if (MallocExtension_ReleaseFreeMemory != nullptr) {
    MallocExtension_ReleaseFreeMemory();
  } else {
    malloc_trim(0);
  }
}

void ReturnThreadCache() {
  if (MallocExtension_MarkThreadTemporarilyIdle != nullptr) {
    MallocExtension_MarkThreadTemporarilyIdle();
  }
}

}  // namespace cn::web
