#include "web/patch.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "dom/element.h"
#include "web/render.h"

namespace cn::web {
namespace {

using dom::MutationKind;
using dom::NodeId;

std::shared_ptr<dom::Element> LiveElement(const dom::Document& document, NodeId id) {
  const auto node = document.FindNode(id);
  if (!node || !node->IsElement() || !node->IsConnected()) return nullptr;
  return std::static_pointer_cast<dom::Element>(node);
}

bool IsHandlerName(std::string_view name) {
  return name.size() > 2 && (name[0] == 'o' || name[0] == 'O') && (name[1] == 'n' || name[1] == 'N');
}

// True when `element` lies strictly inside one of the elements in `roots`.
bool InsideAny(const dom::Element& element, const std::set<NodeId>& roots) {
  for (auto parent = element.ParentElement(); parent; parent = parent->ParentElement()) {
    if (roots.contains(parent->node_id())) return true;
  }
  return false;
}

}  // namespace

RemovedElements::RemovedElements(dom::Document& document)
    : document_(document.weak_from_this()), ids_(std::make_shared<std::set<NodeId>>()) {
  listener_ = document.AddChangeListener(MutationKind::kRemove, [document = document_, ids = ids_](const dom::Mutation& change) {
    const auto page = document.lock();
    const auto node = page ? page->FindNode(change.node) : nullptr;
    if (node && node->IsElement()) ids->insert(change.node);
  });
}

RemovedElements::~RemovedElements() {
  if (const auto document = document_.lock()) document->RemoveChangeListener(listener_);
}

nlohmann::json BuildPatches(const dom::Document& document, std::span<const dom::Mutation> mutations,
                            const RemovedElements* removed_elements) {
  std::vector<NodeId> removed;
  std::set<NodeId> removed_seen;
  std::set<NodeId> rerendered;  // parents whose children go again as a whole
  std::set<NodeId> inserted;
  for (const dom::Mutation& change : mutations) {
    switch (change.kind) {
      case MutationKind::kInsert:
        if (change.name == "#text") {
          rerendered.insert(change.parent);
        } else {
          inserted.insert(change.node);
        }
        break;
      case MutationKind::kRemove: {
        const auto node = document.FindNode(change.node);
        // A text node has no id in the browser: its parent is rendered again. A node already
        // gone may have been either, unless the watcher saw it go.
        const bool element = node ? node->IsElement()
                                  : removed_elements != nullptr && removed_elements->Contains(change.node);
        const bool known = node != nullptr || removed_elements != nullptr;
        if (!element) rerendered.insert(change.parent);
        if (element || !known) {
          if (removed_seen.insert(change.node).second) removed.push_back(change.node);
        }
        break;
      }
      case MutationKind::kText:
        if (const auto node = document.FindNode(change.node)) {
          if (const auto parent = node->ParentElement()) rerendered.insert(parent->node_id());
        }
        break;
      default:
        break;
    }
  }

  nlohmann::json ops = nlohmann::json::array();
  for (const NodeId id : removed) ops.push_back({{"op", "remove"}, {"id", id}});

  // Group 2: the outermost live elements rendered whole.
  std::set<NodeId> whole;  // elements whose markup goes in full (their subtrees are covered)
  std::vector<std::shared_ptr<dom::Element>> content;
  for (const NodeId id : rerendered) {
    if (auto element = LiveElement(document, id)) {
      content.push_back(std::move(element));
      whole.insert(id);
    }
  }
  std::vector<std::shared_ptr<dom::Element>> created;
  for (const NodeId id : inserted) {
    if (auto element = LiveElement(document, id)) {
      created.push_back(std::move(element));
    }
  }
  // Created elements are rendered whole too; their own children need nothing more.
  for (const auto& element : created) whole.insert(element->node_id());
  std::erase_if(content, [&](const auto& element) {
    return inserted.contains(element->node_id()) || InsideAny(*element, whole);
  });
  std::erase_if(created, [&](const auto& element) { return InsideAny(*element, whole); });
  for (const auto& element : content) {
    std::string wiring;
    for (const auto& child : element->Children()) AddWiring(*child, wiring);
    ops.push_back({{"op", "content"}, {"id", element->node_id()}, {"html", RenderChildren(*element)},
                   {"wiring", std::move(wiring)}});
  }
  // Ascending final positions within each parent: every earlier sibling is there already.
  std::sort(created.begin(), created.end(), [](const auto& a, const auto& b) {
    return std::tuple(a->ParentElement()->node_id(), a->IndexInParent()) <
           std::tuple(b->ParentElement()->node_id(), b->IndexInParent());
  });
  std::set<NodeId> rendered;  // every element whose current state the markup above carries
  for (const auto& element : content) {
    for (const auto& inner : element->All()) rendered.insert(inner->node_id());
  }
  for (const auto& element : created) {
    std::string wiring;
    AddWiring(*element, wiring);
    ops.push_back({{"op", "create"},
                   {"parent", element->ParentElement()->node_id()},
                   {"index", element->IndexInParent()},
                   {"html", RenderMarkup(*element)},
                   {"wiring", std::move(wiring)}});
    rendered.insert(element->node_id());
    for (const auto& inner : element->All()) rendered.insert(inner->node_id());
  }

  // Group 3: changes of elements that stayed, in the order they happened.
  std::set<NodeId> rewired;
  for (const dom::Mutation& change : mutations) {
    const char* op = nullptr;
    switch (change.kind) {
      case MutationKind::kProperty: op = "prop"; break;
      case MutationKind::kAttribute: op = "attr"; break;
      case MutationKind::kAttributeRemoved: op = "attr-removed"; break;
      case MutationKind::kStyle: op = "style"; break;
      case MutationKind::kBehaviorAdded:
      case MutationKind::kBehaviorRemoved: op = "wire"; break;
      default: break;
    }
    if (op == nullptr || rendered.contains(change.node)) continue;
    const auto element = LiveElement(document, change.node);
    if (!element) continue;
    if (std::string_view(op) == "wire") {
      if (rewired.insert(change.node).second) {
        ops.push_back({{"op", op}, {"id", change.node}, {"wiring", ElementWiring(*element)}});
      }
      continue;
    }
    if (IsHandlerName(change.name)) continue;
    nlohmann::json entry{{"op", op}, {"id", change.node}, {"name", change.name}};
    if (change.kind != MutationKind::kAttributeRemoved) entry["value"] = change.value;
    ops.push_back(std::move(entry));
  }
  return ops;
}

std::optional<FocusChange> LastFocus(const dom::Document& document, std::span<const dom::Mutation> mutations) {
  std::optional<FocusChange> last;
  for (const dom::Mutation& change : mutations) {
    if (change.kind == MutationKind::kFocus) {
      last = FocusChange{change.node, false};
    } else if (change.kind == MutationKind::kSelect) {
      last = FocusChange{change.node, true};
    }
  }
  if (last && !LiveElement(document, last->node)) return std::nullopt;
  return last;
}

}  // namespace cn::web
