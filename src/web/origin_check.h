#pragma once
// Which pages may log in: the Origin a browser sends with a login must be on the allow-list,
// so that another site cannot post our login form (and "null", sent by sandboxed frames and
// local files, never can).

#include <string>
#include <string_view>
#include <vector>

namespace cn::web {

// An allowed entry is either an origin ("https://cover.example:8443", matched exactly) or a
// bare host name or address ("localhost", "10.0.0.5"), which allows that host over http or
// https on any port. Case does not matter.
bool OriginAllowed(std::string_view origin, const std::vector<std::string>& allowed);

}  // namespace cn::web
