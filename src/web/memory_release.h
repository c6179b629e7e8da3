#pragma once
// Gives the memory freed by ended sessions back to the system, so that a day's peak does not
// stay resident all night. The server calls it on a timer.

namespace cn::web {

// With the thread-caching allocator linked in, its own release call; otherwise the C
// library's trim.
void ReleaseFreeMemory();

}  // namespace cn::web
