#pragma once
// Typing where the administrator's caret is. The page logic's boxes take keys at the end of
// their text; in the browser a key replaces the selection or goes in at the caret.

#include <cstddef>
#include <optional>
#include <string_view>

#include "dom/element.h"

namespace cn::web {

// Characters (code points) from the start of the text: the selection is [start, end).
struct TextSelection {
  std::size_t start = 0;
  std::size_t end = 0;
};

// Types `text` into the box as dom::TypeText does (its keypress handler, input filters and
// maximum length all apply), but into `selection` of the box's text: the selected characters
// are replaced by what the box takes, and are kept when it takes nothing. Positions past the
// end count as the end. Without a selection the text goes to the end.
void TypeAtSelection(dom::Element& box, std::string_view text,
                     std::optional<TextSelection> selection);

}  // namespace cn::web
