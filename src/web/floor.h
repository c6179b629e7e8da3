#pragma once
// The floor under an event's round trip: an answer of a chosen size that costs the screen
// nothing. A load test times it beside the real events to tell what the connection, the session
// lookup and the writing of the answer cost from what the screen's own work costs. The server
// serves it only when its options ask for it, never in `covernote serve`.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace cn::web {

inline constexpr std::size_t kMostFloorBytes = 4 * 1024 * 1024;

// The N of "bytes=N" in the request target's query; nothing when it is missing, not a plain
// number or more than kMostFloorBytes.
std::optional<std::size_t> FloorBytes(std::string_view target);

// An answer whose JSON text is `bytes` long: {"floor":"xx..."} (the bare object, 12 bytes, when
// fewer are asked).
nlohmann::json FloorFiller(std::size_t bytes);

}  // namespace cn::web
