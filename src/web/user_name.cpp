#include "web/user_name.h"

#include "base/text.h"
#include "web/utf8.h"

namespace cn::web {

std::optional<std::string> CanonicalUserName(std::string_view typed) {
  if (!IsUtf8(typed)) return std::nullopt;
  std::string name = UCase(Trim(typed));
  if (name.empty() || name.size() > kMostUserNameBytes) return std::nullopt;
  return name;
}

}  // namespace cn::web
