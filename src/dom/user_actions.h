#pragma once
// What a person does on a page, with the events a browser raises for it, in its order
// (used by the scenario runner and by tests of page logic).

#include <string_view>

namespace cn::dom {

class Element;

// Focuses the element, then types the text character by character: each key raises
// "onkeypress" (a handler may discard it by setting keyCode 0); read-only and disabled inputs
// and the maximum length stop typing; a whole-text selection is replaced.
void TypeText(Element& input, std::string_view text);
// One key on the element (13 Enter, 9 Tab, ...).
void PressKey(Element& target, int key_code);
// Moves the focus here (the previous element's "onblur" first), then clicks it.
void UserClick(Element& target);
void UserFocus(Element& target);
// Leaves the element: "onchange" when its value changed since it got the focus, then "onblur".
void UserBlur(Element& target);
// Chooses the option with that value in a select, raising "onchange".
void ChooseOption(Element& select, std::string_view value);

}  // namespace cn::dom
