#pragma once
// Behaviour files attached to elements (Element::AddBehavior, style "behavior: url(...)").
// In the browser most of them only filter typing; on the server the data-entry behaviour of
// the row tables raises their attribute-script events.

#include <string_view>

namespace cn::dom {

class Element;

// True when one of the element's behaviours (Element::BehaviorUrls) names that file, compared
// by file name without regard to case or to the folder ("./Behaviors/DataEntry.htc" names
// "DataEntry.htc").
bool HasBehavior(const Element& element, std::string_view file_name);

// After a click on `target`: the nearest row (TR, the target or an ancestor) carrying the
// data-entry behaviour runs its "onClicked" script.
void RaiseClickBehaviours(Element& target);

// After the user changed the value of `control`: when it carries the data-entry behaviour,
// its "onInpChanged" script runs.
void RaiseChangeBehaviours(Element& control);

}  // namespace cn::dom
