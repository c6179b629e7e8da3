#pragma once
// Reading what browsers send in plain text (url-encoded forms and the Cookie header), and
// escaping text for a URI or a form.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cn::web {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// "a=1&b=x+y%21" -> {{"a","1"},{"b","x y!"}}; a broken escape is kept as it is.
FormFields ParseForm(std::string_view body);
// The first field of that name; "" when none.
std::string_view FormValue(const FormFields& fields, std::string_view name);
// The value of a cookie in a Cookie header ("a=1; b=2"); "" when none.
std::string_view CookieValue(std::string_view header, std::string_view name);
// Letters, digits and "-._" as they are, every other byte %XX; a space "+" in a form's value.
std::string PercentEncoded(std::string_view text, bool space_as_plus = false);

}  // namespace cn::web
