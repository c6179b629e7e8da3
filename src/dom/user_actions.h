#pragma once
// What a person does on a page, with the events a browser raises for it, in its order
// (used by the scenario runner, the web layer and by tests of page logic).
//
// A person cannot reach a disabled or hidden element (display "none" or visibility "hidden"
// on it or an ancestor): every action on one does nothing at all. The focus is per page: the
// element a person leaves is the page's active element.
//
// Leaving an element ("onchange" when its value differs from the value it had when the person
// moved into it, then "onblur", then the row tables' change behaviour) may end with a handler
// putting the focus somewhere itself, as a field check does when it sends the person back to
// a bad value; the person then stays there and the action that moved the focus stops.

#include <string_view>

namespace cn::dom {

class Element;

// Moves the focus to the element: the element left gets its leaving events (above), then the
// target gets the focus and "onfocus". Returns whether the target has the focus afterwards.
// Focusing the element that already has it raises nothing.
bool UserFocus(Element& target);

// Leaves the element (above) when it has the focus; the focus then goes to the page's body,
// unless a handler put it somewhere. Nothing when the element does not have the focus.
void UserBlur(Element& target);

// Focuses the text box (INPUT of type text or password, or TEXTAREA; anything else is a
// RuntimeFailure), then types the UTF-8 text (invalid UTF-8 is a RuntimeFailure) one code
// point at a time. For each: "onkeypress" with keyCode = the code point; a handler may set
// keyCode 0 to discard the key or another code point to type that instead (a code point
// outside Unicode is a RuntimeFailure). Then, in this order: a control code (below U+0020,
// U+007F) types nothing; a read-only box takes nothing; the input filters of the box's
// behaviours (dom/behaviours.h) may refuse or change the character; a box holding MaxLength
// characters takes nothing more. A whole-text selection (Element::Select) is replaced by the
// first character the box takes. Characters go to the end of the text.
void TypeText(Element& input, std::string_view text);

// One key on the element (13 Enter, 9 Tab, 27 Escape, ...), after focusing it: "onkeydown",
// then "onkeypress" (only for Enter, Escape and character keys, from 32 up, and only when the
// keydown handler left keyCode non-zero), then "onkeyup". The key types nothing: text
// arrives through TypeText.
void PressKey(Element& target, int key_code);

// Moves the focus here, then clicks it (Element::Click), unless a handler kept the focus
// elsewhere. A read-only check box or radio button only takes the focus: locked option
// buttons are shown, not changed.
void UserClick(Element& target);

// Focuses the select (anything else is a RuntimeFailure) and chooses its first option with
// that value (a value no option has is a RuntimeFailure naming it); when the select's value
// changed, "onchange" and then the row tables' change behaviour.
void ChooseOption(Element& select, std::string_view value);

}  // namespace cn::dom
