#pragma once
// The client's address as the cover note prints it: up to four lines of at most 25
// characters, the first at least 2, no empty line before a filled one.

#include <optional>
#include <string_view>

namespace cn {

// The message for an address the cover note cannot print; nullopt when it can.
std::optional<std::string_view> AddressProblem(std::string_view address);

}  // namespace cn
