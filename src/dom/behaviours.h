#pragma once
// Behaviour files attached to elements (Element::AddBehavior, style "behavior: url(...)").
// In the browser most of them only filter typing; on the server the data-entry behaviour of
// the row tables raises their attribute-script events, and typing (dom/user_actions.h) applies
// the same input filters the browser applies.

#include <optional>
#include <span>
#include <string_view>

namespace cn::dom {

class Element;

// The row tables' behaviour: a row raises "onClicked", a control "onInpChanged".
inline constexpr std::string_view kDataEntryBehavior = "DataEntry.htc";

// True when one of the element's behaviours (Element::BehaviorUrls) names that file, compared
// by file name without regard to case or to the folder ("./Behaviors/DataEntry.htc" and
// "Behaviors\DataEntry.htc" name "DataEntry.htc").
bool HasBehavior(const Element& element, std::string_view file_name);
// The same comparison for one behaviour url.
bool BehaviorFileIs(std::string_view url, std::string_view file_name);

// After a click on `target`: the nearest row (TR, the target or an ancestor) carrying the
// data-entry behaviour runs its "onClicked" script, with the target as the event's source.
void RaiseClickBehaviours(Element& target);

// After the user changed the value of `control`: when it carries the data-entry behaviour,
// its "onInpChanged" script runs.
void RaiseChangeBehaviours(Element& control);

// ---- Input filters ------------------------------------------------------------------------
// What a behaviour lets a person type into a text box. The browser front end mirrors this
// table, so it stays plain data. Characters are code points; every set below is ASCII.

enum class CharacterClass : unsigned {
  kNone = 0,
  kDigits = 1,     // 0-9
  kLetters = 2,    // A-Z, a-z
  kPrintable = 4,  // anything but control characters (below U+0020, U+007F-U+009F) and the
                   // separators U+FFFB, U+FFFD, U+FFFE, U+FFFF, which would break the records
                   // the value travels in
};
constexpr CharacterClass operator|(CharacterClass a, CharacterClass b) {
  return static_cast<CharacterClass>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

enum class CaseChange { kKeep, kUpper };

struct InputFilter {
  std::string_view file_name;    // the behaviour file, as HasBehavior compares it
  CharacterClass classes;        // accepted anywhere
  std::string_view also;         // further characters accepted anywhere
  std::string_view once;         // accepted when the text does not hold it yet
  std::string_view only_first;   // accepted only into an empty box
  std::string_view never_first;  // refused into an empty box, even when accepted otherwise
  CaseChange case_change;        // applied to the typed character before the tests
};

// Every filter, one entry per behaviour file.
std::span<const InputFilter> InputFilters();

// The filter of a behaviour file (compared as HasBehavior compares); null when the file does
// not filter typing.
const InputFilter* FindInputFilter(std::string_view file_name);

// One typed character against one filter: the character to insert (after the case change),
// or nullopt when the filter refuses it. `text` is what the box will hold before it.
std::optional<char32_t> ApplyInputFilter(const InputFilter& filter, std::string_view text,
                                         char32_t typed);

// Every filter of the element's behaviours, in their order; each sees the previous one's
// result. Without a filtering behaviour the character passes unchanged.
std::optional<char32_t> FilterTypedCharacter(const Element& input, std::string_view text,
                                             char32_t typed);

}  // namespace cn::dom
