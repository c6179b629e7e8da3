#pragma once
// Gives the memory freed by ended sessions back to the system, so that a day's peak does not
// stay resident all night. The server calls it on a timer.

namespace cn::web {

// With the thread-caching allocator linked in, its own release call; otherwise the C
// library's trim.
void ReleaseFreeMemory();

// Hands the free memory the calling thread keeps for itself to the allocator's shared lists,
// where a release can reach it; nothing without the thread-caching allocator.
void ReturnThreadCache();

}  // namespace cn::web
