#pragma once
// Changes made to a document, in the order they happened. The web layer turns them into
// patches for the browser; tests read them to see what a user would have seen change.

#include <cstddef>
#include <string>

#include "dom/node.h"

namespace cn::dom {

enum class MutationKind {
  kInsert,            // node inserted into parent at index; name = tag ("#text"), value = outer HTML
  kRemove,            // node removed from parent; index = its position before removal
  kContentSet,        // element's content replaced as a whole; name "innerHTML" or "innerText",
                      // value = the text written (the inserts and removes before it carry the change)
  kProperty,          // a property set through its setter; name = property ("value", "checked",
                      // "disabled", "readOnly", "tabIndex", "maxLength", "className", "id",
                      // "selectedIndex", "text", "width", ...), value = new value as text
  kAttribute,         // setAttribute; name = attribute name (lower case), value = new value
  kAttributeRemoved,  // removeAttribute; name = attribute name
  kStyle,             // one style property; name = CSS name ("background-color"), value ("" = removed)
  kText,              // a text node's data changed; value = new data
  kFocus,             // focus() moved the document's active element to node
  kSelect,            // select() selected the whole text of node
  kScrollIntoView,    // value "true" (align to top) or "false"
  kBehaviorAdded,     // name = behaviour url, value = behaviour id
  kBehaviorRemoved,   // name = behaviour url, value = behaviour id
  kStatus,            // the window's status text; node 0, value = text
};
inline constexpr std::size_t kMutationKinds = static_cast<std::size_t>(MutationKind::kStatus) + 1;

// One change. Fields that do not apply to a kind are 0, -1 or empty.
struct Mutation {
  MutationKind kind = MutationKind::kProperty;
  NodeId node = 0;
  NodeId parent = 0;
  int index = -1;
  std::string name;
  std::string value;

  bool operator==(const Mutation&) const = default;
};

// "insert", "property", ... for messages and test output.
const char* MutationKindName(MutationKind kind);

}  // namespace cn::dom
