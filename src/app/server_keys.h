#pragma once
// Keys the servers of one database share, kept in it: made by the first server that needs one,
// read by every later start and every other server.

#include <string>
#include <string_view>

#include "components/shared_backend.h"

namespace cn::app {

// The key named `name` of `bytes` random bytes, made and stored when the database has none.
std::string ServerKey(components::SharedBackend& backend, std::string_view name, std::size_t bytes);

}  // namespace cn::app
