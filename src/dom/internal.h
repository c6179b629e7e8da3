#pragma once
// Small helpers shared by the document model's sources (not part of its interface).

#include <cstdint>
#include <string>
#include <string_view>

namespace cn::dom::internal {

// Tag, attribute and property names are ASCII; their case rules are ASCII rules.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b);

// Throws cn::RuntimeFailure with the document model as its source.
[[noreturn]] void Fail(std::int32_t number, std::string description);

}  // namespace cn::dom::internal
