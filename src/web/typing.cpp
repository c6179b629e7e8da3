#include "web/typing.h"

#include <algorithm>
#include <string>

#include "base/text.h"
#include "dom/user_actions.h"

namespace cn::web {

// The text after the selection waits aside while the key is typed at the end of the rest, so
// that the filters and the maximum length judge the text the key joins; then it comes back.
void TypeAtSelection(dom::Element& box, std::string_view text,
                     std::optional<TextSelection> selection) {
  if (!selection) return dom::TypeText(box, text);
  if (!dom::UserFocus(box)) return;  // focus first, so that its events see the box unchanged
  const std::string before = box.Value();
  const std::size_t length = Len(before);
  const std::size_t end = std::min(selection->end, length);
  const std::size_t start = std::min(selection->start, end);
  const std::string head = Left(before, start);
  const std::string tail = Mid(before, end + 1);
  const std::string kept = head + tail;
  box.ClearTextSelection();
  box.SetValue(kept);
  dom::TypeText(box, text);
  const std::string after = box.Value();
  if (after == kept) {
    box.SetValue(before);  // nothing taken: the selection stays
  } else if (after.starts_with(kept)) {
    box.SetValue(head + after.substr(kept.size()) + tail);
  }
  // Otherwise a handler rewrote the box, and its text stands.
}

}  // namespace cn::web
