#pragma once
// The scripts row tables put into element attributes ("onClicked", "onInpChanged"). Only one
// statement form exists; it is read by a strict parser and carried out directly. Anything
// else is refused with a RuntimeFailure and never evaluated.
//
//   kvExecuteCommand.innerText='C{#+#}' + event.srcElement.id + '{#,#}i';kvExecuteCommand.click();
//
// The same command element in both statements; the two texts in single quotes, holding no
// quote, backslash or control character; whitespace (space, tab, CR, LF) only around "=",
// "+" and ";" and at both ends; everything else exactly as above, case included.

#include <string>
#include <string_view>

namespace cn::dom {

class Element;
class Event;

struct CommandScript {
  std::string command_element_id;     // "kvExecuteCommand"
  std::string text_before_source_id;  // "C{#+#}"
  std::string text_after_source_id;   // "{#,#}i"
  bool operator==(const CommandScript&) const = default;
};

// Reads a script of exactly the form above; RuntimeFailure quoting the text otherwise.
CommandScript ParseCommandScript(std::string_view script);

// Runs the script held in `attribute_name` of `element`: the command element (looked up in
// the element's document) gets the text with the id of the event's srcElement, then is
// clicked. RuntimeFailure when the attribute is missing or not of the one form, or the
// command element is missing.
void RunAttributeScript(Element& element, std::string_view attribute_name, Event& event);

}  // namespace cn::dom
