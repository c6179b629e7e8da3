// Element identity, child list and lookups.
#include "dom/element.h"

#include <algorithm>
#include <utility>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/internal.h"
#include "dom/serialize.h"
#include "dom/tag_names.h"

namespace cn::dom {
namespace {

using internal::Fail;

// `by_id`: a search for an id walks past the options a select keeps as data (they have none).
template <class Visit>
void ForEachDescendant(const Element& element, bool by_id, Visit&& visit) {
  for (const auto& child : by_id ? element.HeldChildNodes() : element.ChildNodes()) {
    if (!child->IsElement()) continue;
    const auto child_element = std::static_pointer_cast<Element>(child);
    if (!visit(child_element)) return;
    ForEachDescendant(*child_element, by_id, visit);
  }
}

// First descendant (tree order) for which `match` holds.
template <class Match>
std::shared_ptr<Element> FindDescendant(const Element& element, bool by_id, Match&& match) {
  for (const auto& child : by_id ? element.HeldChildNodes() : element.ChildNodes()) {
    if (!child->IsElement()) continue;
    auto child_element = std::static_pointer_cast<Element>(child);
    if (match(*child_element)) return child_element;
    if (auto found = FindDescendant(*child_element, by_id, match)) return found;
  }
  return nullptr;
}

}  // namespace

Element::Element(NodeKey key, Document& document, NodeId id, std::string_view tag)
    : Element(key, document, id, internal::KnownTagNumber(tag), tag) {}

Element::Element(NodeKey /*key*/, Document& document, NodeId id, std::uint8_t tag_number, std::string_view tag)
    : Node(NodeType::kElement, document, id, tag_number) {
  if (tag_number == internal::kUnknownTag) MutableRare().tag = std::string(tag);
}

// Children kept elsewhere (a handler holding a cell) outlive the element as detached nodes.
Element::~Element() {
  if (KeepsOptions()) DropKeptOptions();
  LeavePage();
  for (const auto& child : children_) child->parent_ = nullptr;
}

Element::Extras& Element::MutableExtras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

Element::Rare& Element::MutableRare() {
  Extras& extras = MutableExtras();
  if (!extras.rare) extras.rare = std::make_unique<Rare>();
  return *extras.rare;
}

bool Element::IsIgnoringCase(std::string_view tag) const { return internal::AsciiEqualsIgnoreCase(TagName(), tag); }

void Element::SetId(std::string_view id) { SetTextProperty("id", "id", id); }

std::string Element::Describe() const {
  const std::string id = Id();
  return id.empty() ? TagName() + " (no id)" : TagName() + " '" + id + "'";
}

std::vector<std::shared_ptr<Element>> Element::Children() const {
  MakeOptionNodes();
  std::vector<std::shared_ptr<Element>> elements;
  for (const auto& child : children_) {
    if (child->IsElement()) elements.push_back(std::static_pointer_cast<Element>(child));
  }
  return elements;
}

void Element::AppendChild(const std::shared_ptr<Node>& child) { InsertBefore(child, nullptr); }

void Element::InsertBefore(const std::shared_ptr<Node>& child, const std::shared_ptr<Node>& before) {
  if (!child) Fail(failure::kObjectRequired, "No node to insert into " + Describe());
  if (child->OwnerDocument() != OwnerDocument()) {
    Fail(failure::kInvalidArgument, "A node of another page cannot be inserted into " + Describe());
  }
  if (child->IsElement() && static_cast<const Element&>(*child).Contains(*this)) {
    Fail(failure::kInvalidArgument, "An element cannot be inserted into itself or its content: " + Describe());
  }
  if (before && before->ParentElement().get() != this) {
    Fail(failure::kInvalidArgument, "The reference node is not a child of " + Describe() + " (insertBefore)");
  }
  if (child == before) return;
  MakeOptionNodes();
  child->Remove();
  const std::size_t index =
      before ? static_cast<std::size_t>(before->IndexInParent()) : children_.size();
  InsertAt(index, child);
}

void Element::RemoveChild(const std::shared_ptr<Node>& child) {
  MakeOptionNodes();
  const auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) Fail(failure::kInvalidArgument, "The node is not a child of " + Describe());
  Detach(static_cast<std::size_t>(it - children_.begin()));
}

void Element::RemoveAllChildren() {
  // Kept options are removed as nodes only where the removal is reported.
  if (KeepsOptions()) {
    if (ChangeWatcher(MutationKind::kRemove)) {
      MakeOptionNodes();
    } else {
      DropKeptOptions();
    }
  }
  while (!children_.empty()) Detach(children_.size() - 1);
}

bool Element::Contains(const Node& node) const {
  for (const Node* at = &node; at != nullptr; at = at->parent_) {
    if (at == this) return true;
  }
  return false;
}

void Element::InsertAt(std::size_t index, const std::shared_ptr<Node>& child) {
  children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), child);
  child->parent_ = this;
  if (child->IsElement()) {
    if (const auto document = IndexingDocument()) document->ids_.AddTree(static_cast<Element&>(*child));
  }
  if (const auto watcher = ChangeWatcher(MutationKind::kInsert)) {
    const std::string name = child->IsElement() ? static_cast<const Element&>(*child).TagName() : "#text";
    watcher->NoteChange({MutationKind::kInsert, child->node_id(), node_id(), static_cast<int>(index), name,
                         SerializeNode(*child)});
  }
  AfterChildListChanged(child);
}

void Element::Detach(std::size_t index) {
  const std::shared_ptr<Node> child = children_[index];
  const auto watcher = ChangeWatcher(MutationKind::kRemove);
  if (child->IsElement()) {
    if (const auto document = IndexingDocument()) document->ids_.RemoveTree(static_cast<const Element&>(*child));
  }
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
  child->parent_ = nullptr;
  if (watcher) {
    watcher->NoteChange({MutationKind::kRemove, child->node_id(), node_id(), static_cast<int>(index), "", ""});
  }
  AfterChildListChanged(nullptr);
}

std::shared_ptr<Document> Element::IndexingDocument() const {
  std::shared_ptr<Document> document = OwnerDocument();
  if (!document || document->LiveIdIndex() == nullptr || !document->InTree(*this)) return nullptr;
  return document;
}

std::vector<std::shared_ptr<Element>> Element::All() const {
  std::vector<std::shared_ptr<Element>> all;
  ForEachDescendant(*this, false, [&](const std::shared_ptr<Element>& e) {
    all.push_back(e);
    return true;
  });
  return all;
}

std::shared_ptr<Element> Element::FindInAll(std::string_view id) const {
  return FindDescendant(*this, !id.empty(), [&](const Element& e) {
    const Attribute* attribute = e.FindAttribute("id");
    return attribute != nullptr && attribute->value == id;
  });
}

std::shared_ptr<Element> Element::GetFromAll(std::string_view id) const {
  std::shared_ptr<Element> element = FindInAll(id);
  if (!element) Fail(failure::kObjectRequired, "Element '" + std::string(id) + "' not found in " + Describe());
  return element;
}

std::vector<std::shared_ptr<Element>> Element::AllWithId(std::string_view id) const {
  std::vector<std::shared_ptr<Element>> matches;
  ForEachDescendant(*this, !id.empty(), [&](const std::shared_ptr<Element>& e) {
    if (e->Id() == id) matches.push_back(e);
    return true;
  });
  return matches;
}

std::vector<std::shared_ptr<Element>> Element::ElementsByTagName(std::string_view tag) const {
  std::vector<std::shared_ptr<Element>> matches;
  ForEachDescendant(*this, false, [&](const std::shared_ptr<Element>& e) {
    if (tag == "*" || e->Is(tag)) matches.push_back(e);
    return true;
  });
  return matches;
}

std::shared_ptr<Element> Element::Closest(std::string_view tag) const {
  for (Element* parent = parent_; parent != nullptr; parent = parent->parent_) {
    if (parent->Is(tag)) return parent->SharedThis();
  }
  return nullptr;
}

void Element::RequireTag(std::string_view tags, std::string_view operation) const {
  // `tags` lists the allowed tags separated by spaces.
  std::size_t start = 0;
  while (start < tags.size()) {
    const std::size_t end = std::min(tags.find(' ', start), tags.size());
    if (Is(tags.substr(start, end - start))) return;
    start = end + 1;
  }
  Fail(failure::kInvalidArgument, std::string(operation) + " is not possible on " + Describe());
}

}  // namespace cn::dom
