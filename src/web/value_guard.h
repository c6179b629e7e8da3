#pragma once
// Values the administrator typed, posted with each event, are applied before the handler runs;
// they never overwrite a field the server changed after the browser last heard from it.
//
// Answers to the browser are numbered; the browser posts the number of the last one it has
// applied ("seen"). A field the server changed in a later answer keeps the server's value.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dom/document.h"
#include "dom/mutation.h"

namespace cn::web {

class ValueGuard {
 public:
  // Notes the value changes among the document's `mutations`, sent in answer `answer`.
  void Note(const dom::Document& document, std::span<const dom::Mutation> mutations, std::uint64_t answer);
  // Whether a value the browser posted after applying answer `seen` may go into the element.
  bool MayApply(dom::NodeId node, std::uint64_t seen) const;

 private:
  // By node, for the fields only (only their values come back): an idle session keeps it.
  using Changes = std::vector<std::pair<dom::NodeId, std::uint64_t>>;
  // Where the node's entry is or would go.
  Changes::const_iterator Find(dom::NodeId node) const;
  void Mark(dom::NodeId node, std::uint64_t answer);
  Changes changed_in_;
};

struct BrowserValue {
  dom::NodeId node = 0;
  std::string value;
};

// Sets each posted value on its text box, text area or select, unless the guard keeps the
// server's value, the element is gone, read-only or disabled (the administrator cannot have
// changed it), or it is another kind of element. Returns the nodes whose value it set.
std::vector<dom::NodeId> ApplyBrowserValues(dom::Document& document, const ValueGuard& guard,
                                            std::span<const BrowserValue> values, std::uint64_t seen);

}  // namespace cn::web
