#pragma once
// Text that came with a request, made safe to write into the log: a user name holding a line
// break must not be able to write a line of its own that looks like the server's.

#include <string>
#include <string_view>

namespace cn::web {

// Control characters (C0, DEL, C1 and the Unicode line and paragraph separators), bytes that
// are not well-formed UTF-8 and the backslash become escapes ("\n", "\x1b", "\xc1",
// "\u2028"): the log is always valid text. Anything past `most_bytes` becomes "…".
std::string LogText(std::string_view text, std::size_t most_bytes = 200);

}  // namespace cn::web
