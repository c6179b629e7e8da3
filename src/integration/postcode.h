#pragma once
// Checking a postcode and looking up its town and state.

#include <string>
#include <string_view>

#include "dom/window.h"
#include "integration/components.h"

namespace cn {

// An empty postcode is accepted without a lookup. Otherwise the input-check
// component must accept it, and it must be five characters and not "00000"
// (after trimming); a rejection shows its message titled "Invalid Data" and gives
// false (the component's rewriting of the text is not used here). An accepted
// postcode is looked up; a reply sets `town` and `state` (the
// state code), no reply leaves them as they were.
bool ValidatePostcode(const Components& components, dom::Window& window,
                      std::string_view postcode, std::string& town, std::string& state);

}  // namespace cn
