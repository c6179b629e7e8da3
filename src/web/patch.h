#pragma once
// Patches: the browser-side form of a document's recorded changes.
//
// The ops come in three groups, so that no node id is ever briefly present twice:
//   1. {"op":"remove","id":N}                       elements taken out (or moved away)
//   2. {"op":"content","id":P,"html":..,"wiring":".."}  an element whose text children changed:
//                                                   its children rendered again
//      {"op":"create","parent":P,"index":I,"html":..,"wiring":".."}
//                                                   a new element, inserted before the parent's
//                                                   child I (the final position, ascending)
//   3. {"op":"prop","id":N,"name":..,"value":..}    a property set ("value", "checked", ...)
//      {"op":"attr","id":N,"name":..,"value":..}    an attribute set
//      {"op":"attr-removed","id":N,"name":..}
//      {"op":"style","id":N,"name":css name,"value":..}  ("" removes the declaration)
//      {"op":"wire","id":N,"wiring":".."}           the element's behaviours changed: its
//                                                   entry, "" when it reports nothing now
// Wiring texts are those of web/render.h. Changes inside an element that a group 2 op
// renders whole are left out (its markup already shows them), and so are changes of elements
// no longer in the page. Event handler attributes ("on...") are never sent. Focus, selection
// and status travel beside the ops.

#include <memory>
#include <optional>
#include <set>
#include <span>

#include <nlohmann/json.hpp>

#include "dom/document.h"
#include "dom/mutation.h"

namespace cn::web {

// Tells, for nodes already freed when the patches are built, whether they were elements (whose
// removal goes by id) or text (whose parent is rendered again). Watches while it lives.
class RemovedElements {
 public:
  explicit RemovedElements(dom::Document& document);
  RemovedElements(const RemovedElements&) = delete;
  RemovedElements& operator=(const RemovedElements&) = delete;
  ~RemovedElements();
  bool Contains(dom::NodeId node) const { return ids_->contains(node); }
  void Clear() { ids_->clear(); }

 private:
  std::weak_ptr<dom::Document> document_;
  std::shared_ptr<std::set<dom::NodeId>> ids_;
  int listener_ = 0;
};

// Without a watcher, a freed node is taken to be either: removed by id and its parent rendered
// again.
nlohmann::json BuildPatches(const dom::Document& document, std::span<const dom::Mutation> mutations,
                            const RemovedElements* removed_elements = nullptr);

// Where the page logic last put the focus, and whether it then selected the field's text.
struct FocusChange {
  dom::NodeId node = 0;
  bool select = false;
  bool operator==(const FocusChange&) const = default;
};
// The last focus or selection among the changes, when the element is still in the page.
std::optional<FocusChange> LastFocus(const dom::Document& document, std::span<const dom::Mutation> mutations);

}  // namespace cn::web
