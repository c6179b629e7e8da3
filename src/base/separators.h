#pragma once
// Separators of command parameters, replies and lists, each one character.

#include <string_view>

namespace cn {

inline constexpr std::string_view RecordSeparator = "\xEF\xBF\xBF";     // U+FFFF between records
inline constexpr std::string_view FieldSeparator = "\xEF\xBF\xBE";      // U+FFFE between fields
inline constexpr std::string_view DialogArgSeparator = "\xEF\xBF\xBD";  // U+FFFD list values
inline constexpr std::string_view ParamSeparator = "\xEF\xBF\xBB";      // U+FFFB parameters

}  // namespace cn
