#pragma once
// The state of a page as the transcript shows it: every element with an id, with its value,
// checked, disabled, readOnly, visibility, display, text and class, the controls of table
// rows under their row's id; and the lookup of a control the way a step names it.

#include <memory>
#include <string_view>

#include "dom/document.h"
#include "play/event_log.h"

namespace cn::play {

// {"elements": {id: state}, "rows": {row id: {id: state}}}. A later element with an id
// already listed is listed as "id#2", "id#3", ...
Json PageStates(const dom::Document& document);

// One element: "tag", then the states that apply to it (value for form controls, checked
// for check boxes and radio buttons, readOnly for text boxes, text for elements without
// element children and for selects the selected option's text).
Json ElementState(const dom::Element& element);

// The element with that id, inside the table row with id `row` when `row` is not empty;
// null when there is none.
std::shared_ptr<dom::Element> FindControl(const dom::Document& document, std::string_view id,
                                          std::string_view row);

}  // namespace cn::play
