#pragma once
// The state of a page as the transcript shows it: every element with an id, with its value,
// checked, disabled, readOnly, maxLength, tabIndex, visibility, display, text, options and
// class, the controls of table rows under their row's id; and the lookup of a control the way
// a step names it.

#include <array>
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
// element children and for selects the selected option's text, options for selects).
// maxLength and tabIndex only when the element has them (a limit; a place other than the
// usual Tab order), so that the many plain elements stay short.
Json ElementState(const dom::Element& element);

// What an expectation may give for each state.
enum class StateValue { kText, kFlag, kNumber, kOptions };
struct ElementStateName {
  std::string_view name;
  StateValue value;
};
inline constexpr auto kElementStateNames =
    std::to_array<ElementStateName>({{"tag", StateValue::kText},
                                     {"value", StateValue::kText},
                                     {"checked", StateValue::kFlag},
                                     {"disabled", StateValue::kFlag},
                                     {"readOnly", StateValue::kFlag},
                                     {"maxLength", StateValue::kNumber},
                                     {"tabIndex", StateValue::kNumber},
                                     {"visibility", StateValue::kText},
                                     {"display", StateValue::kText},
                                     {"text", StateValue::kText},
                                     {"options", StateValue::kOptions},
                                     {"class", StateValue::kText}});

// The state's value when ElementState leaves it out: 0 for tabIndex, null for the rest.
Json AbsentState(std::string_view name);

// The element with that id, inside the table row with id `row` when `row` is not empty;
// null when there is none.
std::shared_ptr<dom::Element> FindControl(const dom::Document& document, std::string_view id,
                                          std::string_view row);

}  // namespace cn::play
