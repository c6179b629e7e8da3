#pragma once
// One form of a user name for everything that reads it: the directory's lookup, the login
// throttle's counts and the log. Were the lookup and the throttle to read a name two ways, a
// name spelt differently could be checked as the locked account while counted as another.

#include <optional>
#include <string>
#include <string_view>

namespace cn::web {

inline constexpr std::size_t kMostUserNameBytes = 256;

// The name as typed, without surrounding spaces, in capitals ("  admin" is ADMIN); nothing
// when it is not well-formed UTF-8, empty, or longer than any user name.
std::optional<std::string> CanonicalUserName(std::string_view typed);

}  // namespace cn::web
