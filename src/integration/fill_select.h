#pragma once
// Filling a drop-down list from a lookup list.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/element.h"

namespace cn {

// Adds one option per entry, in list order, after removing all options when
// `clear_first`. With a field number of -1 the whole entry is the option's text
// and value; otherwise the value is field `value_field` and the text field
// `text_field`, or "value - text" when `show_code`. Returns false and changes
// nothing when the list is empty or the element is missing.
bool FillSelect(const std::shared_ptr<dom::Element>& select, const std::vector<std::string>& list,
                int value_field, int text_field, bool clear_first, bool show_code);

}  // namespace cn

namespace cn {

// Shows a stored value in an input or a drop-down list. A value the list does not offer
// (a code retired from the list, or one it never had) is added as an option captioned
// with its code, so that the value is seen and survives being read back.
void ShowStoredValue(dom::Element& element, std::string_view value);

}  // namespace cn
